#include <QTemporaryDir>
#include <QtTest>

#include "../wizard/WindowFixture.h"

// Closing the window: a question only when picks would be lost, and nothing written at exit.
class CloseQuestionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_f.reset(); }

    void freshWindowClosesWithoutAQuestion();
    void unsavedPicksAskBeforeClosing_data();
    void unsavedPicksAskBeforeClosing();
    void savedPicksCloseWithoutAQuestion();
    void anUndoAfterTheSaveAsksAgain();
    void closingWritesNothing();

private:
    void pickAllRows();
    bool closeWindow() { return m_f->window().close(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowFixture> m_f;
};

namespace {
const QString kQuestion = QString::fromUtf8("选好的行和列还没有保存到地图文件。放弃它们并关闭吗？");
}

void CloseQuestionTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_f = std::make_unique<WindowFixture>();
    m_f->window().show();
}

void CloseQuestionTest::pickAllRows() {
    m_f->goToPage(4);
    for (int r = 1; r <= 16; ++r) {
        m_f->pick(m_f->c().HangGrid, r, 1);
    }
}

void CloseQuestionTest::freshWindowClosesWithoutAQuestion() {
    m_f->goToPage(3);  // walking the pages is no pick
    QVERIFY(closeWindow());
    QVERIFY(m_f->notifier.questions.isEmpty());
    QVERIFY(!m_f->window().isVisible());
}

void CloseQuestionTest::unsavedPicksAskBeforeClosing_data() {
    QTest::addColumn<bool>("discard");
    QTest::newRow("the user keeps the picks") << false;
    QTest::newRow("the user discards them") << true;
}

void CloseQuestionTest::unsavedPicksAskBeforeClosing() {
    QFETCH(bool, discard);
    m_f->goToPage(4);
    m_f->pick(m_f->c().HangGrid, 2, 2);
    m_f->notifier.discard = discard;
    QCOMPARE(closeWindow(), discard);
    QCOMPARE(m_f->notifier.questions, QStringList{kQuestion});
    QCOMPARE(m_f->window().isVisible(), !discard);
    QCOMPARE(m_f->state().DataBufferP.value(), 1);  // kept while the window stays
}

void CloseQuestionTest::savedPicksCloseWithoutAQuestion() {
    pickAllRows();
    m_f->pick(m_f->c().LieGrid, 1, 1);
    m_f->dialogs.answers = {m_dir->filePath(QStringLiteral("m.bin"))};
    m_f->c().Complete->click();
    QVERIFY(m_f->notifier.messages.isEmpty());
    QVERIFY(closeWindow());
    QVERIFY(m_f->notifier.questions.isEmpty());
}

void CloseQuestionTest::anUndoAfterTheSaveAsksAgain() {
    pickAllRows();
    m_f->pick(m_f->c().LieGrid, 1, 1);
    m_f->dialogs.answers = {m_dir->filePath(QStringLiteral("m.bin"))};
    m_f->c().Complete->click();
    m_f->c().Undo->click();
    QVERIFY(!closeWindow());
    QCOMPARE(m_f->notifier.questions.size(), 1);
}

void CloseQuestionTest::closingWritesNothing() {
    m_f->goToPage(4);
    m_f->pick(m_f->c().HangGrid, 2, 2);
    m_f->port.written.clear();
    m_f->notifier.discard = true;
    QVERIFY(closeWindow());
    m_f->program.reset();
    QVERIFY(m_f->port.written.isEmpty());
    QVERIFY(m_f->dialogs.asked.isEmpty());
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(CloseQuestionTest)
#include "tst_close_question.moc"
