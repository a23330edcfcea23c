#include <QByteArray>
#include <QTest>

#include "camera/MjpegParser.h"

using Fault = MjpegParser::Fault;
Q_DECLARE_METATYPE(MjpegParser::Fault)

namespace {

// Three pictures: the first with a Content-Length (in a header name of mixed case), the second
// without one and holding a line that resembles a delimiter, the third with LF line ends only
// and a Content-Length, closed by the final delimiter. Blank lines before the first delimiter.
const QByteArray kFirst("\xFF\xD8one\xFF\xD9", 7);
const QByteArray kSecond("\xFF\xD8two\r\n--framed\r\n\xFF\xD9", 19);
const QByteArray kThird("\xFF\xD8\n--fram\xFF\xD9", 11);
const QByteArray kStream = "\r\n--frame\r\nContent-Type: image/jpeg\r\nCONTENT-length: 7\r\n\r\n" +
                           kFirst + "\r\n--frame\r\ncontent-type: image/jpeg\r\n\r\n" + kSecond +
                           "\r\n--frame\nContent-Length:11\n\n" + kThird + "\n--frame--\r\n";

// A part of boundary "b" with a Content-Length header.
QByteArray counted(const QByteArray& length, const QByteArray& body) {
    return "--b\r\nContent-Length: " + length + "\r\n\r\n" + body + "\r\n";
}

}  // namespace

// The parser fed a Motion-JPEG body in every way it may arrive, and every way a body goes wrong.
class MjpegParserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boundaryComesFromTheContentType_data() {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("boundary");
        const auto row = [](const char* contentType, const char* boundary) {
            QTest::newRow(contentType) << QByteArray(contentType) << QByteArray(boundary);
        };
        row("multipart/x-mixed-replace; boundary=frame", "frame");
        row("multipart/x-mixed-replace;boundary=--frame", "frame");
        row("Multipart/X-Mixed-Replace; Boundary=\"--my frame\"", "my frame");
        row("multipart/x-mixed-replace; charset=utf-8; boundary=ab", "ab");
        row("text/html; boundary=frame", "");
        row("multipart/x-mixed-replace", "");
        row("multipart/x-mixed-replace; boundary=--", "");
    }
    void boundaryComesFromTheContentType() {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, boundary);
        QCOMPARE(MjpegParser::boundaryOf(contentType), boundary);
    }

    // However the body is cut, each picture is ready as soon as its end is in (a counted one
    // with its last byte, one without a length with the delimiter line after it); the newest
    // picture ready is taken after each chunk, and those it replaced are counted as dropped.
    void everyCutOfTheStreamGivesTheSamePictures_data() {
        QTest::addColumn<QList<int>>("chunks");
        QTest::newRow("one byte at a time") << QList<int>(kStream.size(), 1);
        QTest::newRow("in threes") << QList<int>(kStream.size() / 3 + 1, 3);
        for (int at = 1; at <= kStream.size(); ++at) {
            QTest::addRow("cut at %d", at) << QList<int>{at, static_cast<int>(kStream.size())};
        }
    }
    void everyCutOfTheStreamGivesTheSamePictures() {
        QFETCH(QList<int>, chunks);
        const QList<QByteArray> pictures = {kFirst, kSecond, kThird};
        const QList<qsizetype> readyAt = {
            kStream.indexOf(kFirst) + kFirst.size(),
            kStream.indexOf("--frame\n") + 8,  // the delimiter line, LF included
            kStream.indexOf(kThird) + kThird.size(),
        };
        MjpegParser parser("frame");
        qsizetype at = 0;
        qsizetype ready = 0;
        qint64 dropped = 0;
        for (const int size : chunks) {
            parser.feed(kStream.mid(at, size));
            at += size;
            const qsizetype before = ready;
            while (ready < readyAt.size() && readyAt[ready] <= at) {
                ++ready;
            }
            dropped += std::max<qsizetype>(ready - before - 1, 0);
            QCOMPARE(parser.hasPicture(), ready > before);
            QCOMPARE(parser.takePicture(), ready > before ? pictures[ready - 1] : QByteArray());
        }
        QCOMPARE(parser.fault(), Fault::None);
        QCOMPARE(parser.pictureCount(), 3);
        QCOMPARE(parser.droppedCount(), dropped);
        QVERIFY(parser.isClosed());
    }

    // Each stream ends in its fault (or none yet) after `pictures` good pictures, with limits of
    // 64 bytes a part and 128 bytes of headers (their line breaks counted): a part or headers at
    // the limit are read, one byte more ends the stream at once. What follows a fault is ignored.
    void aBrokenStreamEndsWithItsFault_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("pictures");
        const QByteArray jpeg("\xFF\xD8jpeg\xFF\xD9");  // 8 bytes
        const QByteArray good = counted("8", jpeg);
        const QByteArray headerAtLimit = "--b\r\nX: " + QByteArray(123, 'h') + "\r\n";
        const auto row = [](const char* name, const QByteArray& stream, Fault fault, int pictures) {
            QTest::newRow(name) << stream << fault << pictures;
        };
        row("a length too short", good + counted("7", jpeg) + "--b\r\n", Fault::WrongLength, 1);
        row("a length too long", good + counted("12", jpeg) + "--b\r\n", Fault::WrongLength, 1);
        row("a length that swallows the next part's beginning",
            good + "Content-Length: 8\r\n\r\n" + jpeg, Fault::WrongLength, 1);
        row("a length that is no number", counted("8a", jpeg), Fault::WrongLength, 0);
        row("a negative length", counted("-8", jpeg), Fault::WrongLength, 0);
        row("a length beyond the part limit", counted("65", ""), Fault::PartTooLarge, 0);
        row("a part at the limit", "--b\r\n\r\n\xFF\xD8" + QByteArray(62, 'x'), Fault::None, 0);
        row("a part a byte beyond the limit without a length",
            good + "--b\r\n\r\n\xFF\xD8" + QByteArray(63, 'x'), Fault::PartTooLarge, 1);
        row("a part beyond the part limit with its delimiter",
            "--b\r\n\r\n\xFF\xD8" + QByteArray(61, 'x') + "\xFF\xD9\r\n--b\r\n",
            Fault::PartTooLarge, 0);
        row("a web page", "<html><body>Login</body></html>\r\n", Fault::NoBoundary, 0);
        row("another boundary", "--frame\r\n\r\n" + jpeg, Fault::NoBoundary, 0);
        row("too many dashes", QByteArray(80, '-') + "b\r\n", Fault::NoBoundary, 0);
        row("a picture that is no JPEG", good + counted("8", "\x89PNG\r\n\x1A\n"), Fault::NotJpeg,
            1);
        row("a part without a length that is no JPEG", "--b\r\n\r\nhello\r\n--b\r\n",
            Fault::NotJpeg, 0);
        row("a JPEG without its end", "--b\r\n\r\n\xFF\xD8jpeg\r\n--b--", Fault::NotJpeg, 0);
        row("an empty part", counted("0", "") + "--b\r\n", Fault::NotJpeg, 0);
        row("a header at the limit", headerAtLimit, Fault::None, 0);
        row("a header a byte beyond the limit", headerAtLimit + "y", Fault::HeaderTooLarge, 0);
        row("headers too long together",
            "--b\r\n" +
                QByteArray("X-Note: 0123456789012345678901234567890123456789\r\n").repeated(3),
            Fault::HeaderTooLarge, 0);
    }
    void aBrokenStreamEndsWithItsFault() {
        QFETCH(QByteArray, stream);
        QFETCH(Fault, fault);
        QFETCH(int, pictures);
        MjpegParser parser("b", {64, 128});
        parser.feed(stream);
        QCOMPARE(parser.fault(), fault);
        QCOMPARE(parser.pictureCount(), pictures);
        parser.feed("\r\n" + counted("4", "\xFF\xD8\xFF\xD9") + "--b\r\n");
        QCOMPARE(parser.pictureCount(), pictures);
    }

    void theDefaultLimitsAreEightMebibytesAndSixteenKibibytes() {
        const QByteArray headers = "--b\r\n" + QByteArray(16 * 1024, 'h');
        const std::pair<QByteArray, Fault> cases[] = {
            {"--b\r\nContent-Length: 8388608\r\n", Fault::None},
            {"--b\r\nContent-Length: 8388609\r\n", Fault::PartTooLarge},
            {headers, Fault::None},
            {headers + "h", Fault::HeaderTooLarge}};
        for (const auto& [stream, fault] : cases) {
            MjpegParser parser("b");
            parser.feed(stream);
            QCOMPARE(parser.fault(), fault);
        }
    }
};

QTEST_APPLESS_MAIN(MjpegParserTest)
#include "tst_mjpeg_parser.moc"
