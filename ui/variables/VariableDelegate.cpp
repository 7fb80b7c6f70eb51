#include "VariableDelegate.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QValidator>

#include "FullWidthForms.h"
#include "WindowKeys.h"

namespace {

// The box starts this far right of the cell's left edge and ends this much
// short of the column's right edge.
constexpr int kIndent = 4;
constexpr int kWidthShortfall = 3;
constexpr int kBorderPixels = 1;
// Room kept right of the text while typing.
constexpr int kWidenMargin = 5;

// A line edit hands every change of its text to its validator, whether it
// was typed, pasted, dropped or committed by an input method; this one
// turns full-width forms into ASCII and accepts everything.
class AsciiFormsValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        input = ToAsciiForms(std::move(input), position);
        return Acceptable;
    }
};

// The width the box needs for `text` in `box`'s font.
int WidthFor(const QLineEdit& box, const QString& text) {
    return QFontMetrics(box.font()).horizontalAdvance(text) + kWidenMargin + 2 * kBorderPixels;
}

class CellEditor : public QLineEdit {
  public:
    explicit CellEditor(QWidget* viewport) : QLineEdit(viewport) {
        setObjectName(QStringLiteral("cellEdit"));
        setFrame(false);
        setTextMargins(kBorderPixels, 0, kBorderPixels, 0);
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setValidator(new AsciiFormsValidator(this));
        connect(this, &QLineEdit::textChanged, this, &CellEditor::Widen);
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            // The window's keys for clearing and computing end the edit
            // here, and the menu keys open the box's own menu.
            const int pressed = key->key();
            if (pressed == Qt::Key_Escape || pressed == Qt::Key_Return ||
                pressed == Qt::Key_Enter || IsOneOf(key, WindowMenuKeys())) {
                event->accept();
                return true;
            }
            // A line edit would type the copy key.
            if (IsOneOf(key, CopyResultKeys()))
                return QWidget::event(event);
        }
        return QLineEdit::event(event);
    }

    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    // The box stays a little ahead of its text until it reaches the grid's
    // edge; then the text scrolls inside it.
    void Widen() {
        const int needed = WidthFor(*this, text());
        if (width() >= needed || !parentWidget())
            return;
        const int right = std::min(x() + needed, parentWidget()->width());
        if (right > x() + width())
            resize(right - x(), height());
    }
};

}  // namespace

QWidget* VariableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    auto* editor = new CellEditor(parent);
    editor->setFont(option.font);
    editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    return editor;
}

void VariableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = static_cast<QLineEdit*>(editor);
    box->setText(index.data(Qt::EditRole).toString());
    box->selectAll();
}

void VariableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

void VariableDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    const auto* box = static_cast<QLineEdit*>(editor);
    const int left = option.rect.left() + kIndent;
    int width = std::max(option.rect.width() - kWidthShortfall, WidthFor(*box, box->text()));
    if (const QWidget* viewport = editor->parentWidget())
        width = std::min(width, viewport->width() - left);
    editor->setGeometry(left, option.rect.top(), width, option.rect.height());
}

bool VariableDelegate::eventFilter(QObject* watched, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(watched);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter ends the edit at once and goes no further: the window
        // behind the grid never takes it for its default button.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}
