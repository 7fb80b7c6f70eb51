// An exception thrown inside an event handler is reported and the program
// goes on; nothing leaves the event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <new>
#include <stdexcept>

#include "UiTestSupport.h"

namespace {

class ThrowingWidget : public QWidget {
  public:
    bool throwBadAlloc = false;

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            if (throwBadAlloc)
                throw std::bad_alloc();
            throw std::runtime_error("handler failed");
        }
        return QWidget::event(event);
    }
};

TEST(CalcAppTest, AnExceptionFromAnEventHandlerIsReportedNotPropagated) {
    MessageBoxRecorder boxes;
    ThrowingWidget widget;
    QEvent failing(QEvent::User);
    EXPECT_NO_THROW(QApplication::sendEvent(&widget, &failing));
    widget.throwBadAlloc = true;
    EXPECT_NO_THROW(QApplication::sendEvent(&widget, &failing));

    ASSERT_EQ(boxes.Requests().size(), 2u);
    EXPECT_EQ(boxes.Requests()[0].caption, "发生错误");
    EXPECT_EQ(boxes.Requests()[0].text, "发生意外错误，操作未能完成。");
    EXPECT_EQ(boxes.Requests()[1].text, "内存不足，操作未能完成。");
}

}  // namespace
