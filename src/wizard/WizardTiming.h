#pragma once

#include <chrono>

// The fixed times of the polarity blink.
namespace WizardTiming {

// From showing a polarity page to its first blink packet.
constexpr std::chrono::milliseconds kFirstBlink{20};
// Between two blink packets.
constexpr std::chrono::milliseconds kBlinkPeriod{2000};

}  // namespace WizardTiming
