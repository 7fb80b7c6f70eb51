#include "MessageLanguage.h"

#include <libintl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr char kDomain[] = "tallyfern-cli";

enum class Language { Unchosen, Chinese, English };
Language g_language = Language::Unchosen;

const char* MessagesLocaleName() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "C";
}

// The catalogs stand at the same place relative to the program in the
// build tree and once installed.
std::string CatalogDirectory() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return TALLYFERN_LOCALE_DIR;
    path.resize(static_cast<std::size_t>(length));
    path.resize(path.rfind('/') + 1);
    return path + TALLYFERN_LOCALE_DIR_FROM_PROGRAM;
}

Language ChooseLanguage() {
    if (WantsChinese(MessagesLocaleName()))
        return Language::Chinese;
    // gettext translates nothing under the C locale, and takes the catalog
    // from LANGUAGE before the locale's own language: English it is, whatever
    // the language asked for, and whether or not its locale is installed.
    if (!std::setlocale(LC_MESSAGES, "") && !std::setlocale(LC_MESSAGES, "C.UTF-8"))
        return Language::Chinese;
    setenv("LANGUAGE", "en", 1);
    bindtextdomain(kDomain, CatalogDirectory().c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    return Language::English;
}

}  // namespace

bool WantsChinese(const char* localeName) {
    const std::string_view name(localeName);
    return name == "C" || name == "POSIX" || name.starts_with("C.") || name.starts_with("zh");
}

const char* Translated(const char* chinese) {
    if (g_language == Language::Unchosen)
        g_language = ChooseLanguage();
    if (g_language == Language::Chinese)
        return chinese;
    return dgettext(kDomain, chinese);
}
