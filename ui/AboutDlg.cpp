#include "AboutDlg.h"

#include <QPushButton>

#include "DialogBuilder.h"
#include "WindowStacking.h"
#include "resource.h"

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogControls controls = BuildCaptionedDialog(this, IDD_ABOUTBOX);
    connect(controls.Get<QPushButton>(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    KeepAboveOwner(this, parent);
}
