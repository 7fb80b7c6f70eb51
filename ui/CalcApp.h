#pragma once

#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "SessionUse.h"

// The application: runs the main window until it is closed, and keeps any
// exception from leaving an event handler, where it would end the program.
class CalcApp : public QApplication {
    Q_OBJECT
  public:
    CalcApp(int& argc, char** argv);

    // Runs the main window; the program ends when it returns.
    int InitInstance(SessionUse session = SessionUse::Kept);

    bool notify(QObject* receiver, QEvent* event) override;

    // Qt's own texts (standard buttons, the edit boxes' menus) in the
    // language of `locale`, in place of any loaded before; false where Qt
    // has no catalogue for it, and they then stay in English.
    bool LoadQtTranslations(const QLocale& locale);

  private:
    std::unique_ptr<QTranslator> m_qtTranslator;
};
