#pragma once

#include <QApplication>

// The application: runs the main window until it is closed, and keeps any
// exception from leaving an event handler, where it would end the program.
class CCalcApp : public QApplication {
    Q_OBJECT
  public:
    CCalcApp(int& argc, char** argv);

    // Runs the main window; the program ends when it returns.
    int InitInstance();

    bool notify(QObject* receiver, QEvent* event) override;
};
