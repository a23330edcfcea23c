#include "Wiring.h"

#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace {

using GroupPlace = Wiring::GroupPlace;
// Where a family puts group `group` of address `address`'s chain.
using Placer = GroupPlace (*)(const ModuleSize& size, std::uint64_t seed, int address, int group);

GroupPlace straight(const ModuleSize& size, std::uint64_t, int address, int group) {
    return {address + (group / size.placesPerRow()) * size.scanCount, group % size.placesPerRow()};
}

GroupPlace stripe(const ModuleSize& size, std::uint64_t, int address, int group) {
    const int rows = size.rowsPerAddress();
    return {address + (group % rows) * size.scanCount, group / rows};
}

GroupPlace reversed(const ModuleSize& size, std::uint64_t seed, int address, int group) {
    return straight(size, seed, size.scanCount - 1 - address, group);
}

GroupPlace fromRight(const ModuleSize& size, std::uint64_t seed, int address, int group) {
    GroupPlace place = straight(size, seed, address, group);
    place.place = size.placesPerRow() - 1 - place.place;
    return place;
}

// Fisher-Yates over 0..count-1 with the generator's raw output: std::shuffle and the std
// distributions differ between standard libraries, mt19937_64 itself does not.
std::vector<int> shuffled(int count, std::mt19937_64& generator) {
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    for (int i = count - 1; i > 0; --i) {
        const auto j = generator() % static_cast<std::uint64_t>(i + 1);
        std::swap(order[static_cast<std::size_t>(i)], order[j]);
    }
    return order;
}

GroupPlace randomOrder(const ModuleSize& size, std::uint64_t seed, int address, int group) {
    std::mt19937_64 generator(seed);
    const std::vector<int> rows = shuffled(size.scanCount, generator);
    const std::vector<int> places = shuffled(size.groupsPerAddress(), generator);
    const int place = places[static_cast<std::size_t>(group)];
    return {
        rows[static_cast<std::size_t>(address)] + (place / size.placesPerRow()) * size.scanCount,
        place % size.placesPerRow()};
}

struct Family {
    const char* name;
    Placer place;
    bool seeded;
};

constexpr Family kFamilies[] = {
    {"straight", straight, false},    {"stripe", stripe, false},     {"reversed", reversed, false},
    {"from-right", fromRight, false}, {"random", randomOrder, true},
};
constexpr int kFamilyCount = static_cast<int>(std::size(kFamilies));

}  // namespace

Wiring::Wiring() = default;

std::optional<Wiring> Wiring::fromName(const QString& name) {
    const QString family = name.section(QLatin1Char(':'), 0, 0);
    const bool hasSeed = name.contains(QLatin1Char(':'));
    for (int i = 0; i < kFamilyCount; ++i) {
        if (family != QLatin1String(kFamilies[i].name) || hasSeed != kFamilies[i].seeded) {
            continue;
        }
        bool ok = !hasSeed;
        const std::uint64_t seed = hasSeed ? name.section(QLatin1Char(':'), 1).toULongLong(&ok) : 0;
        return ok ? std::optional<Wiring>(Wiring(i, seed)) : std::nullopt;
    }
    return std::nullopt;
}

QStringList Wiring::familyNames() {
    QStringList names;
    for (const Family& family : kFamilies) {
        names.append(QLatin1String(family.name) +
                     (family.seeded ? QStringLiteral(":SEED") : QString()));
    }
    return names;
}

QString Wiring::name() const {
    const Family& family = kFamilies[m_family];
    return QLatin1String(family.name) +
           (family.seeded ? QStringLiteral(":%1").arg(m_seed) : QString());
}

QPoint Wiring::ledOf(const ModuleSize& size, int address, int bit) const {
    const GroupPlace group = kFamilies[m_family].place(size, m_seed, address, bit / 8);
    return {8 * group.place + bit % 8, group.row};
}
