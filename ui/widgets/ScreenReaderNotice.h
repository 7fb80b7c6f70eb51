#pragma once

#include <QObject>
#include <QString>

class QWidget;

// A notice for a screen reader, spoken as it is given while the focus stays
// where it is: to a reader it is a notification of the program that appears
// with each text. Qt tells a reader that a control's name or description
// changed without the new text, and readers then say nothing.
class ScreenReaderNotice : public QObject {
    Q_OBJECT
  public:
    // A notice shown over `owner`, which owns it.
    explicit ScreenReaderNotice(QWidget* owner);

    // Tells `text`, also when it is the text told last.
    void Tell(const QString& text);
    const QString& Text() const { return m_text; }
    QWidget* Owner() const { return m_owner; }

  private:
    QWidget* m_owner;
    QString m_text;
};
