#include "CalcApp.h"

#include <QLibraryInfo>
#include <exception>
#include <new>

#include "CalcDlg.h"
#include "ExpressionEditAccessible.h"
#include "MessageBox.h"
#include "WindowLanguage.h"
#include "WindowTexts.h"

CalcApp::CalcApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("tallyfern"));
    // No display name: the window system would append it to every caption,
    // and the captions ("错误", "使用帮助") are to stand as they are.
    setApplicationVersion(QStringLiteral(TALLYFERN_VERSION));
    setDesktopFileName(QStringLiteral("org.tallyfern.tallyfern"));
    // Before any window: a standard button takes its text when it is made.
    // The program's own texts are Chinese or English by the locale; Qt's
    // follow it.
    UseWindowLanguage(QLocale());
    LoadQtTranslations(QLocale());
    // Screen readers read the expression box as they read a line edit.
    InstallExpressionEditAccessibility();
}

bool CalcApp::LoadQtTranslations(const QLocale& locale) {
    if (m_qtTranslator) {
        removeTranslator(m_qtTranslator.get());
        m_qtTranslator.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    installTranslator(translator.get());
    m_qtTranslator = std::move(translator);
    return true;
}

int CalcApp::InitInstance(SessionUse session) {
    CalcDlg dlg(nullptr, session);
    dlg.DoModal();
    return 0;
}

bool CalcApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ShowMessageBox(activeWindow(), WindowText(WindowTexts::kOutOfMemory),
                       WindowText(WindowTexts::kErrorTitle), QMessageBox::Critical);
    } catch (const std::exception&) {
        ShowMessageBox(activeWindow(), WindowText(WindowTexts::kUnexpectedError),
                       WindowText(WindowTexts::kErrorTitle), QMessageBox::Critical);
    }
    return false;
}
