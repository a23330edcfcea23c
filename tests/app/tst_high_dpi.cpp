#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <cmath>

#include "../wizard/WindowFixture.h"

// The window at the screen's DPI: this suite runs once at 96 dpi and once at 192 dpi (see
// tests/app/CMakeLists.txt), and every caption must fit its control at both.
class HighDpiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup() { m_f.reset(); }

    void controlsScaleWithTheLogicalDpi();
    void everyCaptionFitsItsControl();
    void gridCellsScaleWithTheLogicalDpi();

private:
    std::unique_ptr<WindowFixture> m_f;
};

namespace {

int px(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

// The room the style leaves for a control's text, generously counted.
int roomFor(QWidget* w) {
    if (qobject_cast<QRadioButton*>(w) != nullptr) {
        return w->width() -
               w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) -
               w->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
    }
    if (qobject_cast<QComboBox*>(w) != nullptr) {
        return w->width() - w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w) - 2;
    }
    if (qobject_cast<QAbstractButton*>(w) != nullptr || qobject_cast<QLineEdit*>(w) != nullptr) {
        return w->width() - 4;
    }
    return w->width();
}

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text();
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        return l->text();
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        return g->title();
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        return e->text();
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        QString widest;
        for (int i = 0; i < c->count(); ++i) {
            if (c->fontMetrics().horizontalAdvance(c->itemText(i)) >
                c->fontMetrics().horizontalAdvance(widest)) {
                widest = c->itemText(i);
            }
        }
        return widest;
    }
    return {};
}

}  // namespace

void HighDpiTest::controlsScaleWithTheLogicalDpi() {
    const double dpi = m_f->window().logicalDpiX();
    qInfo("logical dpi %g, device pixel ratio %g", dpi, m_f->window().devicePixelRatioF());
    QCOMPARE(m_f->window().width(), px(6570, dpi));
    QCOMPARE(m_f->c().NextB->geometry(),
             QRect(px(2040, dpi), px(4200, dpi), px(735, dpi), px(375, dpi)));
    QCOMPARE(m_f->c().Label6->height(), px(375, dpi));
}

void HighDpiTest::everyCaptionFitsItsControl() {
    m_f->c().Label6->setText(QString::fromUtf8("下载完成"));  // the longest status caption
    m_f->c().Text1->setText(QStringLiteral("255"));
    const QList<QWidget*> widgets = m_f->window().findChildren<QWidget*>();
    int checked = 0;
    for (QWidget* w : widgets) {
        const QString caption = captionOf(w);
        if (caption.isEmpty() || w->objectName().isEmpty()) {
            continue;  // the parts inside a control are the control's own business
        }
        // What is drawn of the text, not its advance: a dot is small ink in a wide cell.
        const QFontMetrics fm(w->font());
        const int need = fm.boundingRect(caption).width();
        const QString where =
            w->objectName() + QStringLiteral(" \"") + caption + QStringLiteral("\"");
        QVERIFY2(
            need <= roomFor(w),
            qPrintable(where + QStringLiteral(": needs %1 px, has %2").arg(need).arg(roomFor(w))));
        if (qobject_cast<QGroupBox*>(w) == nullptr) {
            QVERIFY2(fm.tightBoundingRect(caption).height() <= w->height(),
                     qPrintable(where + QStringLiteral(" height")));
        }
        ++checked;
    }
    QVERIFY(checked >= 40);
}

void HighDpiTest::gridCellsScaleWithTheLogicalDpi() {
    m_f->goToPage(2, QStringLiteral("16"), QStringLiteral("8"));
    FlexGrid* grid = m_f->c().HangGrid;
    const double dpi = grid->logicalDpiX();
    QCOMPARE(grid->columnWidth(0), px(280, dpi));
    QCOMPARE(grid->rowHeight(0), px(240, dpi));
    const QFontMetrics fm(grid->font());
    QVERIFY(fm.boundingRect(QStringLiteral("16")).width() <= grid->columnWidth(0));
    QVERIFY(fm.tightBoundingRect(QStringLiteral("16")).height() <= grid->rowHeight(0));
}

QTEST_MAIN(HighDpiTest)
#include "tst_high_dpi.moc"
