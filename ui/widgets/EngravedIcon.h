#pragma once

#include <QColor>
#include <QIcon>

// `source` with an engraved look for its disabled mode: the shape of the
// drawing in `shadow`, over its copy in `highlight` one pixel down and to
// the right, cut to the icon's square. Every other mode draws `source` as
// it is, anew for each size and pixel ratio asked of it.
QIcon EngravedIcon(const QIcon& source, const QColor& highlight, const QColor& shadow);
