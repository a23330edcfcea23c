#pragma once

#include <QByteArray>
#include <QGroupBox>
#include <array>

#include "session/Page.h"

class QRadioButton;

// A polarity page ("第1步 OE极性选择" or "第2步 显示极性选择"): the indicator of the test state
// the module shows now ("1" or "2"), and the user's answer which state lights it ("1亮" or
// "2亮").
class PolarityPage : public QGroupBox {
    Q_OBJECT
public:
    // The page of a polarity step: one of the pages in WizardSteps::kPolaritySteps.
    PolarityPage(Page page, QWidget* parent);

    // The object name the page goes by in the window ("OeFrame", "DisFrame").
    const char* frameName() const { return m_frameName.constData(); }

    void showState(Lit state);
    void showChoice(Lit lit);

    const std::array<QRadioButton*, 2>& indicatorButtons() const { return m_indicators; }
    const std::array<QRadioButton*, 2>& choiceButtons() const { return m_choices; }

Q_SIGNALS:
    void chosen(Lit lit);

private:
    QByteArray m_frameName;
    std::array<QRadioButton*, 2> m_indicators{};
    std::array<QRadioButton*, 2> m_choices{};
};
