#pragma once

#include <string_view>

inline constexpr std::string_view kUsageLine =
    "usage: tallyfern-cli [options] [--] [EXPRESSION...]\n";

inline constexpr std::string_view kVersionLine = "tallyfern-cli " TALLYFERN_VERSION "\n";

inline constexpr std::string_view kHelpText =
    "usage: tallyfern-cli [options] [--] [EXPRESSION...]\n"
    "\n"
    "Computes the expression given by the arguments (joined with blanks), or\n"
    "each non-blank line of standard input when there is none, and prints the\n"
    "result. Errors go to standard error.\n"
    "\n"
    "Options:\n"
    "  -v, --var NAME=VALUE  define a variable (repeatable, in order)\n"
    "  -n, --natural         after each result, draw the expression in its\n"
    "                        natural form (fractions over a rule, raised\n"
    "                        exponents), cut into lines at its operators\n"
    "  -w, --width N         line width of the natural form, a whole number >= 1\n"
    "                        (default 50)\n"
    "      --table NAME=FROM:TO:STEP\n"
    "                        print the expression's value for NAME = FROM,\n"
    "                        FROM+STEP, ... up to TO, a line \"x<TAB>value\"\n"
    "                        each (the value empty, and the error on standard\n"
    "                        error, where the computation fails)\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "\n"
    "An argument that begins with '-' followed by a digit, '.' or '(' is part\n"
    "of the expression; after \"--\" every argument is.\n"
    "\n"
    "Exit status: 0 when every expression was computed, 1 when one failed,\n"
    "2 for a wrong command line.\n";
