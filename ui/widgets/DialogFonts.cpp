#include "DialogFonts.h"

#include <QFontDatabase>
#include <QLabel>

#include "StaticText.h"
#include "TextFitting.h"

namespace {

// 9 points at 96 dots per inch. Set in pixels, so that the text keeps
// fitting the controls, whose sizes are in pixels too, on a screen of
// another resolution.
constexpr int kDialogFontPixels = 12;

QFont FirstInstalled(std::initializer_list<const char*> families, QFont fallback) {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(QString::fromUtf8(family), Qt::CaseInsensitive)) {
            QFont font(QString::fromUtf8(family));
            font.setPixelSize(kDialogFontPixels);
            return font;
        }
    }
    fallback.setPixelSize(kDialogFontPixels);
    return fallback;
}

}  // namespace

QFont DialogFont() {
    return FirstInstalled({"SimSun", "宋体", "AR PL UMing CN", "Noto Serif CJK SC",
                           "WenQuanYi Zen Hei", "Noto Sans CJK SC", "WenQuanYi Micro Hei"},
                          QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

QFont FixedPitchFont() {
    return FirstInstalled({"NSimSun", "新宋体", "DejaVu Sans Mono", "WenQuanYi Zen Hei Mono",
                           "Noto Sans Mono CJK SC", "Liberation Mono"},
                          QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void FitLabelsToTheirBoxes(QWidget* dialog) {
    for (QLabel* label : dialog->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString text = label->text();
        if (text.isEmpty() || text.contains(QLatin1Char('\n')) || qobject_cast<StaticText*>(label))
            continue;
        label->setFont(FontFittingBox(dialog->font(), text, label->size()));
    }
}
