#pragma once

#include <QDialog>

// The about box: the icon, the name and version, a few words on the
// program, and OK. Shown modally with exec().
class AboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDlg(QWidget* parent = nullptr);
};
