#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/ui/QtPrompter.h"
#include "tests/support/WaitUntil.h"
#include "tests/ui/EventLoopWait.h"

namespace quorrel {
namespace {

// The real prompter shows real boxes; these tests close them from events of the box's own
// loop, as the program does, with a guard that closes whatever modal box is left.
class QtPrompterBoxes : public ::testing::Test {
protected:
    QtPrompterBoxes() {
        if (const char* value = std::getenv("QUORREL_UNATTENDED")) {
            saved_ = value;
        }
        qunsetenv("QUORREL_UNATTENDED");
        QTimer::singleShot(test::kPatience, &guard_, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                guardFired = true;
                box->close();
            }
        });
    }
    ~QtPrompterBoxes() override {
        if (saved_) {
            qputenv("QUORREL_UNATTENDED", saved_->c_str());
        }
    }

    // Runs `step` from the event loop once it runs again (inside a box, when one is open).
    void soon(std::function<void()> step) { QTimer::singleShot(0, &guard_, std::move(step)); }

    bool guardFired = false;

private:
    QObject guard_;
    std::optional<std::string> saved_;
};

TEST_F(QtPrompterBoxes, TheOwnerClosesAClosableBoxThatIsOpen) {
    QtPrompter prompter;
    MessageCloser closer;
    QString openBox;
    soon([&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            openBox = box->text();
        }
        closer.close();
    });
    EXPECT_EQ(prompter.showClosable(standardMessage("작업 실패"), closer), MessageResult::Cancel);
    EXPECT_EQ(openBox, QString::fromUtf8("작업 실패"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(guardFired);

    // Once closed, a later box of the same owner does not open at all.
    bool boxOpened = false;
    soon([&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxOpened = true;
            box->close();
        }
    });
    EXPECT_EQ(prompter.showClosable(standardMessage("다음"), closer), MessageResult::Cancel);
    bool looked = false;
    soon([&] { looked = true; });
    EXPECT_TRUE(test::waitWithEvents([&] { return looked; }));
    EXPECT_FALSE(boxOpened);
}

TEST_F(QtPrompterBoxes, ABoxTheUserAnswersKeepsTheAnswer) {
    QtPrompter prompter;
    MessageCloser closer;
    Message question{"계속할까요?", "Quorrel", MessageIcon::Question, MessageButtons::YesNo};
    soon([] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::No)->click();
        }
    });
    EXPECT_EQ(prompter.showClosable(question, closer), MessageResult::No);
    EXPECT_FALSE(closer.closed());
    EXPECT_FALSE(guardFired);
}

}  // namespace
}  // namespace quorrel
