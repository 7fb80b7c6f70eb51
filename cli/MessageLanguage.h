#pragma once

// The language of the console's messages. Chinese, the language they are
// written in, is shown under a Chinese locale and under C/POSIX; English
// under any other language. The choice follows LC_ALL, LC_MESSAGES and LANG
// (the first one set), and the English texts come from the gettext catalog
// installed beside the program (po/en.po).

// `chinese` (one of the engine's messages, UTF-8) in the user's language,
// UTF-8. The locale is looked at on the first call only: a run that prints
// no message never loads it.
const char* Translated(const char* chinese);

// Whether a locale name (as LC_ALL, LC_MESSAGES or LANG give it) asks for
// the Chinese texts.
bool WantsChinese(const char* localeName);
