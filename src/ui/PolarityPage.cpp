#include "ui/PolarityPage.h"

#include "ui/Controls.h"

using namespace Controls;

PolarityPage::PolarityPage(bool oe, QWidget* parent)
    : QGroupBox(oe ? tr("第1步 OE极性选择") : tr("第2步 显示极性选择"), parent) {
    auto* indicatorFrame =
        Twips::place(new QGroupBox(this), oe ? "OeDisFrame" : "DisDisFrame", 720, 480, 3495, 735);
    m_indicators[0] = option(indicatorFrame, oe ? "OeDis(0)" : "DisDis(0)", QStringLiteral("1"),
                             360, 240, 495, 375);
    m_indicators[1] = option(indicatorFrame, oe ? "OeDis(1)" : "DisDis(1)", QStringLiteral("2"),
                             2160, 240, 495, 375);
    auto* choiceFrame = Twips::place(new QGroupBox(this), oe ? "OeSelectFrame" : "DisSelectFrame",
                                     720, 1560, 3495, 735);
    m_choices[0] =
        option(choiceFrame, oe ? "OeSelect(0)" : "DisSelect(0)", tr("1亮"), 360, 240, 735, 375);
    m_choices[1] =
        option(choiceFrame, oe ? "OeSelect(1)" : "DisSelect(1)", tr("2亮"), 2160, 240, 735, 375);
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
