#include "AboutDlg.h"

#include <QPushButton>

#include "DialogBuilder.h"
#include "WindowStacking.h"
#include "resource.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& layout = FindDialogTemplate(IDD_ABOUTBOX);
    setWindowTitle(QString::fromUtf8(layout.title));
    setFont(DialogFont());
    const DialogControls controls = BuildDialogControls(this, layout, 0);
    setFixedSize(DialogUnitsToPixels(layout.cx), DialogUnitsToPixels(layout.cy));
    connect(controls.Get<QPushButton>(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    KeepAboveOwner(this, parent);
}

int CAboutDlg::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
