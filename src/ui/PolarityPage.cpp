#include "ui/PolarityPage.h"

#include <QByteArray>

#include "ui/Controls.h"

using namespace Controls;

namespace {

// How each polarity page looks: its caption, and the prefix of its controls' object names
// ("Oe" gives "OeFrame", "OeDis(0)", "OeSelect(1)", ...).
struct Look {
    Page page;
    const char* caption;
    const char* names;
};

const Look kLooks[] = {
    {Page::OePolarity, QT_TRANSLATE_NOOP("PolarityPage", "第1步 OE极性选择"), "Oe"},
    {Page::DisplayPolarity, QT_TRANSLATE_NOOP("PolarityPage", "第2步 显示极性选择"), "Dis"},
};

const Look& lookOf(Page page) {
    return *std::find_if(std::begin(kLooks), std::end(kLooks),
                         [page](const Look& look) { return look.page == page; });
}

}  // namespace

PolarityPage::PolarityPage(Page page, QWidget* parent)
    : QGroupBox(tr(lookOf(page).caption), parent),
      m_frameName(QByteArray(lookOf(page).names) + "Frame") {
    const QByteArray names = lookOf(page).names;
    const auto name = [&names](const char* rest) { return names + rest; };
    auto* indicatorFrame =
        Twips::place(new QGroupBox(this), name("DisFrame").constData(), 720, 480, 3495, 735);
    m_indicators[0] =
        option(indicatorFrame, name("Dis(0)").constData(), QStringLiteral("1"), 360, 240, 495, 375);
    m_indicators[1] = option(indicatorFrame, name("Dis(1)").constData(), QStringLiteral("2"), 2160,
                             240, 495, 375);
    auto* choiceFrame =
        Twips::place(new QGroupBox(this), name("SelectFrame").constData(), 720, 1560, 3495, 735);
    m_choices[0] =
        option(choiceFrame, name("Select(0)").constData(), tr("1亮"), 360, 240, 735, 375);
    m_choices[1] =
        option(choiceFrame, name("Select(1)").constData(), tr("2亮"), 2160, 240, 735, 375);
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        const Lit lit = i == 0 ? Lit::StateOne : Lit::StateTwo;
        connect(m_choices[i], &QRadioButton::toggled, this, [this, lit](bool on) {
            if (on) {
                Q_EMIT chosen(lit);
            }
        });
    }
}

void PolarityPage::showState(Lit state) {
    m_indicators[state == Lit::StateOne ? 0 : 1]->setChecked(true);
}

void PolarityPage::showChoice(Lit lit) {
    m_choices[lit == Lit::StateOne ? 0 : 1]->setChecked(true);
}
