#pragma once

#include <QList>
#include <QString>

// One of the engine's functions as the box's helps present it, in the
// window's language.
struct FunctionHelp {
    QString name;
    QString summary;  // the help window's title of it
    QString usage;    // the help window's usage, lines as written there
};

// The engine's functions in its own order, each with the help window's
// texts; an alias ("arcsin") shares the texts of the function it names
// ("asin"), and a function the help window does not list gets its bare
// call as its usage.
QList<FunctionHelp> FunctionHelps();
