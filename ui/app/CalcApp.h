#pragma once

#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <memory>

// The application: its name, version and languages, and the screen
// readers' view of the expression box, set before any window is made.
class CalcApp : public QApplication {
    Q_OBJECT
  public:
    CalcApp(int& argc, char** argv);

    // Qt's own texts (standard buttons, the edit boxes' menus) in the
    // language of `locale`, in place of any loaded before; false where Qt
    // has no catalogue for it, and they then stay in English.
    bool LoadQtTranslations(const QLocale& locale);

  private:
    std::unique_ptr<QTranslator> m_qtTranslator;
};
