#pragma once

#include <QDialog>

// The about box: the icon, the name and version, a few words on the
// program, and OK. Shown modally with exec().
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
