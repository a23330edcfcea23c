#include "ControllerModel.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr int kAddressAnswerLength = 40;
constexpr std::uint32_t kEveryDataPacket = 0xFFFF;

// Test packet sub-codes (byte 8 of command 60).
constexpr std::uint8_t kCellTest = 0x00;
constexpr std::uint8_t kOeTest = 0x01;
constexpr std::uint8_t kDisTest = 0x02;
constexpr std::uint8_t kLieTest = 0x03;
constexpr std::uint8_t kHangTest = 0x04;

std::uint8_t byteAt(const QByteArray& packet, int offset) {
    return static_cast<std::uint8_t>(packet.at(offset));
}

// XOR of packet bytes first..last inclusive; the caller keeps the span inside the packet.
std::uint8_t xorOf(const QByteArray& packet, int first, int last) {
    std::uint8_t sum = 0;
    for (int i = first; i <= last; ++i) {
        sum ^= byteAt(packet, i);
    }
    return sum;
}

// The checksum span ends at this byte for each kind; unknown kinds are checked over all.
int spanEnd(const QByteArray& packet) {
    const std::uint8_t command = byteAt(packet, 5);
    const std::uint8_t subCode = byteAt(packet, 8);
    if (command == 0x0A && packet.size() == 40) {
        return subCode == 0x0F ? 13 : 8;
    }
    if (command == 0x0A && packet.size() == 136) {
        return 8;
    }
    return static_cast<int>(packet.size()) - 1;
}

QString hexBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString checksumNote(const QByteArray& packet, bool& good) {
    const std::uint8_t expected = xorOf(packet, 8, spanEnd(packet));
    good = expected == byteAt(packet, 6);
    if (good) {
        return QStringLiteral("checksum ok");
    }
    return QStringLiteral("checksum BAD (got %1, want %2), ignored")
        .arg(byteAt(packet, 6), 2, 16, QLatin1Char('0'))
        .arg(expected, 2, 16, QLatin1Char('0'));
}

QString kindName(const QByteArray& packet) {
    static const QStringList kTestNames = {QStringLiteral("CellTest"), QStringLiteral("OeTest"),
                                           QStringLiteral("DisTest"), QStringLiteral("LieTest"),
                                           QStringLiteral("HangTest")};
    const std::uint8_t command = byteAt(packet, 5);
    const std::uint8_t subCode = byteAt(packet, 8);
    if (command == 0x60 && packet.size() == 13 && subCode < kTestNames.size()) {
        return kTestNames.at(subCode);
    }
    if (command == 0x61 && packet.size() == 136) {
        return QStringLiteral("MapDataPacket");
    }
    if (command == 0x0A && packet.size() == 136 && subCode == 0x04) {
        return QStringLiteral("DownLoadEnd");
    }
    if (command == 0x0A && packet.size() == 40 && (subCode == 0x0F || subCode == 0x10)) {
        return subCode == 0x0F ? QStringLiteral("SetAddress") : QStringLiteral("ReadAddress");
    }
    return QStringLiteral("unknown packet %1").arg(hexBytes(packet.left(9)));
}

}  // namespace

ControllerModel::Reaction ControllerModel::handle(const QByteArray& packet) {
    bool good = false;
    const QString check = checksumNote(packet, good);
    const QString kind = kindName(packet);
    if (!good) {
        m_lastPacket = kind + QLatin1Char(' ') + check;
        return {m_lastPacket, {}, {}, false};
    }
    Reaction reaction;
    if (kind == QLatin1String("MapDataPacket")) {
        reaction = handleMapData(packet);
    } else if (kind == QLatin1String("DownLoadEnd")) {
        reaction = handleDownLoadEnd(packet);
    } else if (byteAt(packet, 5) == 0x60 && kind.endsWith(QLatin1String("Test"))) {
        reaction = handleTest(packet);
    } else if (kind == QLatin1String("SetAddress") || kind == QLatin1String("ReadAddress")) {
        reaction = handleSetting(packet);
    } else {
        reaction.log = kind;
    }
    if (!reaction.answer.isEmpty()) {
        reaction.log += QStringLiteral(" -> ") + hexBytes(reaction.answer.left(8));
    }
    m_lastPacket = reaction.log;
    return reaction;
}

ControllerModel::Reaction ControllerModel::handleTest(const QByteArray& packet) {
    const std::uint8_t subCode = byteAt(packet, 8);
    const QString name = kindName(packet);
    Reaction reaction;
    reaction.stray = m_faults.strayAfterTest;
    driveModule(packet);
    if (subCode == kCellTest) {
        reaction.log = QStringLiteral("CellTest width=%1 height=%2 colour=%3 scan=%4")
                           .arg(byteAt(packet, 9))
                           .arg(byteAt(packet, 10))
                           .arg(byteAt(packet, 11))
                           .arg(byteAt(packet, 12));
    } else if (subCode == kLieTest || subCode == kHangTest) {
        const int count = byteAt(packet, 9) + 256 * byteAt(packet, 10);
        reaction.log = QStringLiteral("%1 count=%2").arg(name).arg(count);
    } else {
        reaction.log = QStringLiteral("%1 bytes=%2").arg(name, hexBytes(packet.mid(9, 4)));
    }
    return reaction;
}

void ControllerModel::driveModule(const QByteArray& packet) {
    const std::uint8_t subCode = byteAt(packet, 8);
    const int count = byteAt(packet, 9) + 256 * byteAt(packet, 10);
    const Level level = byteAt(packet, 9) == 0 ? Level::One : Level::Two;
    if (subCode == kCellTest) {
        m_module.cellTest(byteAt(packet, 9), byteAt(packet, 10), byteAt(packet, 12));
    } else if (subCode == kOeTest) {
        m_module.oeTest(level);
    } else if (subCode == kDisTest) {
        m_module.disTest(level);
    } else if (subCode == kLieTest) {
        m_module.lieTest(count);
    } else if (subCode == kHangTest) {
        m_module.hangTest(count);
    }
}

ControllerModel::Reaction ControllerModel::handleSetting(const QByteArray& packet) {
    Reaction reaction;
    const std::uint8_t subCode = byteAt(packet, 8);
    if (subCode == 0x0F) {
        m_screen = byteAt(packet, 9);
        for (int i = 0; i < 4; ++i) {
            m_ip[static_cast<std::size_t>(i)] = byteAt(packet, 10 + i);
        }
        reaction.log = QStringLiteral("SetAddress screen=%1 ip=%2.%3.%4.%5")
                           .arg(m_screen)
                           .arg(m_ip[0])
                           .arg(m_ip[1])
                           .arg(m_ip[2])
                           .arg(m_ip[3]);
        reaction.answer = answerOrFault(QByteArray(1, static_cast<char>(kAck)));
    } else if (subCode == 0x10) {
        reaction.log = QStringLiteral("ReadAddress");
        QByteArray answer = addressAnswer();
        if (m_faults.shortAddressAnswer) {
            answer.truncate(10);
        }
        reaction.answer = answerOrFault(answer);
    }
    return reaction;
}

ControllerModel::Reaction ControllerModel::handleMapData(const QByteArray& packet) {
    const int sequence = byteAt(packet, 4);
    const int number = sequence + 1;
    Reaction reaction;
    reaction.log = QStringLiteral("MapDataPacket #%1").arg(number);
    if (sequence > 15) {
        reaction.log += QStringLiteral(" beyond the image, ignored");
        return reaction;
    }
    m_image.replace(sequence * 128, 128, packet.mid(8));
    reaction.log += QStringLiteral(" checksum ok");
    if (sequence == 0) {
        m_dataPacketsTaken = 0;
    }
    if (m_faults.nakDataPacket != number && m_faults.hangUpAtDataPacket != number) {
        m_dataPacketsTaken |= 1U << sequence;
    }
    if (m_faults.hangUpAtDataPacket == number) {
        reaction.log += QStringLiteral(", hanging up");
        reaction.hangUp = true;
        return reaction;
    }
    if (m_faults.silentDataPacket == number) {
        reaction.log += QStringLiteral(", not answering");
        return reaction;
    }
    const auto code = m_faults.nakDataPacket == number ? kNak : kAck;
    reaction.answer = answerOrFault(QByteArray(1, static_cast<char>(code)));
    return reaction;
}

ControllerModel::Reaction ControllerModel::handleDownLoadEnd(const QByteArray& packet) {
    Reaction reaction;
    reaction.log = QStringLiteral("DownLoadEnd #%1 checksum ok").arg(byteAt(packet, 4) + 1);
    if (m_dataPacketsTaken == kEveryDataPacket) {
        m_module.showMap(m_image);
    }
    m_dataPacketsTaken = 0;
    if (!m_imagePath.isEmpty()) {
        reaction.log += writeImage(m_imagePath) ? QStringLiteral(", image written to ")
                                                : QStringLiteral(", cannot write image to ");
        reaction.log += m_imagePath;
    }
    return reaction;
}

QByteArray ControllerModel::addressAnswer() const {
    QByteArray answer(kAddressAnswerLength, '\0');
    answer.replace(0, 9, QByteArray::fromHex("5AA528FFFF0A000010"));
    answer[17] = static_cast<char>(m_screen);
    for (int i = 0; i < 4; ++i) {
        answer[22 + i] = static_cast<char>(m_ip[static_cast<std::size_t>(i)]);
    }
    answer[6] = static_cast<char>(xorOf(answer, 8, kAddressAnswerLength - 1));
    return answer;
}

QByteArray ControllerModel::answerOrFault(QByteArray answer) const {
    if (m_faults.neverAnswer) {
        return {};
    }
    if (m_faults.garbageAnswer) {
        return QByteArray::fromHex("A513FF00C3");
    }
    return answer;
}

bool ControllerModel::writeImage(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(m_image) == m_image.size();
}

ModuleSnapshot ControllerModel::moduleSnapshot() const {
    ModuleSnapshot snapshot = m_module.snapshot();
    if (!m_lastPacket.isEmpty()) {
        snapshot.state += QStringLiteral(" | last: ") + m_lastPacket;
    }
    return snapshot;
}
