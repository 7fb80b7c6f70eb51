#include "AboutDlg.h"

#include "DialogFonts.h"
#include "IconResources.h"
#include "WindowStacking.h"
#include "ui_AboutDlg.h"

namespace {

// A standard icon, as the about box shows it.
constexpr int kStandardIconPixels = 32;

}  // namespace

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    Ui::AboutDlg form;
    form.setupUi(this);
    FitLabelsToTheirBoxes(this);
    form.iconLabel->setPixmap(LoadIconPixmap(WindowIcon::Application, kStandardIconPixels));
    connect(form.okButton, &QPushButton::clicked, this, &QDialog::accept);
    KeepAboveOwner(this, parent);
}
