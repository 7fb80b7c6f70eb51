#include "CalcApp.h"

#include <QLibraryInfo>

#include "ExpressionEditAccessible.h"
#include "WindowLanguage.h"

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
