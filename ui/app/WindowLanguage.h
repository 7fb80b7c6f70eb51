#pragma once

class QLocale;

// The window speaks Chinese, its own language, on a Chinese desktop and
// where no language is set (the C or POSIX locale), and English on a
// desktop of any other language. Installs the English translation for
// such a `locale`, or removes it; true when the window now speaks English.
// Before the windows are made: their texts are set when they are built.
bool UseWindowLanguage(const QLocale& locale);
