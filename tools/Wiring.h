#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "ModuleSize.h"

// How a module's shift chains are really wired: which LED each chain bit lights. Only for
// modules a map can describe (ModuleSize::whyNotDescribable() empty).
//
// Families, by name:
//   straight    address a drives rows a, a+S, a+2S, ...; its chain runs along row a from left
//               to right, then along row a+S, and so on
//   stripe      the chain's groups of 8 take turns between the address's rows: group g lies in
//               row a + (g mod rows)*S, at columns 8*(g div rows) .. 8*(g div rows)+7
//   reversed    as straight, but address a drives rows S-1-a, S-1-a+S, ...
//   from-right  as straight, but group g of a row covers columns W-8(g+1) .. W-8g-1
//   random:SEED address a drives rows p(a), p(a)+S, ... for a shuffled order p of the
//               addresses, and the groups take a shuffled order over the 8-column places of
//               those rows, the same for every address; the same SEED gives the same wiring
//               on every platform
// In every family, bit j of a group lights the group's j-th LED from the left, and each address
// places its groups as address 0 does, shifted by whole rows.
// Example: straight on 64 x 32 scan 16: address 1, bit 70 lights x 6, y 17.
class Wiring {
public:
    // Where one group of 8 chain bits lies: pixel row `row`, columns 8*place .. 8*place+7.
    struct GroupPlace {
        int row = 0;
        int place = 0;
    };

    // The wiring named as above; nullopt for any other name.
    static std::optional<Wiring> fromName(const QString& name);
    // The family names, "random:SEED" written as such.
    static QStringList familyNames();

    // straight
    Wiring();

    QString name() const;
    // The LED (x from the left, y from the top) that chain bit `bit` (0 .. chainLength-1) of
    // row address `address` (0 .. S-1) lights.
    QPoint ledOf(const ModuleSize& size, int address, int bit) const;

private:
    Wiring(int family, std::uint64_t seed) : m_family(family), m_seed(seed) {}

    int m_family = 0;
    std::uint64_t m_seed = 0;
};
