// Writes the kept session in a loop until it is killed, for the crash test
// (SessionStoreTest): SessionCrashWriter DIRECTORY RUN. After each write
// that completed it prints the number of the entry just written, so the
// test knows what must survive the kill.
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <string>

#include "SessionStore.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    SessionStore store(QString::fromLocal8Bit(argv[1]));
    const QString run = QString::fromLocal8Bit(argv[2]);
    KeptSession session = store.Load().session;
    for (int i = 1;; ++i) {
        session.history.append(run + QStringLiteral("+") + QString::number(i));
        session.variables = {{QStringLiteral("last"), QString::number(i)}};
        if (!store.Save(session))
            return 1;
        const std::string line = std::to_string(i) + "\n";
        // Unbuffered: a number printed is a write completed.
        if (::write(STDOUT_FILENO, line.data(), line.size()) < 0)
            return 1;
    }
}
