#include "WindowLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

std::unique_ptr<QTranslator>& InstalledTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

bool SpeaksChinese(const QLocale& locale) {
    return locale.language() == QLocale::C || locale.language() == QLocale::Chinese;
}

}  // namespace

bool UseWindowLanguage(const QLocale& locale) {
    std::unique_ptr<QTranslator>& installed = InstalledTranslator();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (SpeaksChinese(locale))
        return false;
    auto english = std::make_unique<QTranslator>();
    if (!english->load(QStringLiteral(":/i18n/tallyfern_en.qm")))
        return false;
    QCoreApplication::installTranslator(english.get());
    installed = std::move(english);
    return true;
}
