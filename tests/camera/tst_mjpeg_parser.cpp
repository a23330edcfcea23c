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
const QByteArray kStream = QByteArray(
                               "\r\n--frame\r\n"
                               "Content-Type: image/jpeg\r\n"
                               "CONTENT-length: 7\r\n"
                               "\r\n") +
                           kFirst +
                           "\r\n--frame\r\n"
                           "content-type: image/jpeg\r\n"
                           "\r\n" +
                           kSecond +
                           "\r\n--frame\n"
                           "Content-Length:11\n"
                           "\n" +
                           kThird + "\n--frame--\r\n";

QList<int> chunkSizes(std::initializer_list<int> sizes) {
    return QList<int>(sizes);
}

}  // namespace

// The parser fed a Motion-JPEG body in every way it may arrive, and every way a body goes wrong.
class MjpegParserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boundaryComesFromTheContentType_data() {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("boundary");
        QTest::newRow("plain") << QByteArray("multipart/x-mixed-replace; boundary=frame")
                               << QByteArray("frame");
        QTest::newRow("with dashes")
            << QByteArray("multipart/x-mixed-replace;boundary=--frame") << QByteArray("frame");
        QTest::newRow("quoted, any case")
            << QByteArray("Multipart/X-Mixed-Replace; Boundary=\"--my frame\"")
            << QByteArray("my frame");
        QTest::newRow("after another parameter")
            << QByteArray("multipart/x-mixed-replace; charset=utf-8; boundary=ab")
            << QByteArray("ab");
        QTest::newRow("another type") << QByteArray("text/html; boundary=frame") << QByteArray();
        QTest::newRow("a picture") << QByteArray("image/jpeg") << QByteArray();
        QTest::newRow("no boundary") << QByteArray("multipart/x-mixed-replace") << QByteArray();
        QTest::newRow("dashes only")
            << QByteArray("multipart/x-mixed-replace; boundary=--") << QByteArray();
    }
    void boundaryComesFromTheContentType() {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, boundary);
        QCOMPARE(MjpegParser::boundaryOf(contentType), boundary);
    }

    // However the body is cut, the three pictures are found and the newest is kept.
    void everyCutOfTheStreamGivesTheSamePictures_data() {
        QTest::addColumn<QList<int>>("chunks");
        QTest::newRow("whole") << chunkSizes({static_cast<int>(kStream.size())});
        QTest::newRow("one byte at a time") << QList<int>(kStream.size(), 1);
        QTest::newRow("in threes") << QList<int>(kStream.size() / 3 + 1, 3);
        for (int at = 1; at < kStream.size(); ++at) {
            QTest::addRow("cut at %d", at) << chunkSizes({at, static_cast<int>(kStream.size())});
        }
    }
    void everyCutOfTheStreamGivesTheSamePictures() {
        QFETCH(QList<int>, chunks);
        MjpegParser parser("frame");
        qsizetype at = 0;
        for (const int size : chunks) {
            parser.feed(kStream.mid(at, size));
            at += size;
        }
        QCOMPARE(parser.fault(), Fault::None);
        QCOMPARE(parser.pictureCount(), 3);
        QCOMPARE(parser.droppedCount(), 2);
        QCOMPARE(parser.takePicture(), kThird);
        QVERIFY(parser.isClosed());
    }

    // Fed a byte at a time and taken at once, every picture is seen: a counted one as soon as its
    // last byte is in, one without a length when the delimiter after it is.
    void eachPictureIsReadyWhenItsEndArrives() {
        MjpegParser parser("frame");
        const QList<qsizetype> readyAfter = {
            kStream.indexOf(kFirst) + kFirst.size(),
            kStream.indexOf("--frame\n") + 8,  // the delimiter line, LF included
            kStream.indexOf(kThird) + kThird.size(),
        };
        QList<QByteArray> taken;
        for (qsizetype at = 0; at < kStream.size(); ++at) {
            parser.feed(kStream.mid(at, 1));
            if (parser.hasPicture()) {
                QCOMPARE(at + 1, readyAfter.value(taken.size()));
                taken += parser.takePicture();
            }
        }
        QCOMPARE(taken, QList<QByteArray>({kFirst, kSecond, kThird}));
        QCOMPARE(parser.droppedCount(), 0);
    }

    void anOlderPictureNotTakenIsDroppedAndCounted() {
        const QByteArray part = "--b\r\nContent-Length: 4\r\n\r\n\xFF\xD8\xFF\xD9\r\n";
        MjpegParser parser("b");
        parser.feed(part + part);
        QCOMPARE(parser.droppedCount(), 1);
        QVERIFY(parser.hasPicture());
        QCOMPARE(parser.takePicture(), QByteArray("\xFF\xD8\xFF\xD9"));
        QVERIFY(!parser.hasPicture());
        QVERIFY(parser.takePicture().isEmpty());
        parser.feed(part);
        QCOMPARE(parser.droppedCount(), 1);
        QCOMPARE(parser.pictureCount(), 3);
    }

    // Each stream ends in a fault after `pictures` good pictures, with limits of 64 bytes a part
    // and 128 bytes of headers; what comes after the fault is ignored.
    void aBrokenStreamEndsWithItsFault_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("pictures");
        const QByteArray jpeg("\xFF\xD8jpeg\xFF\xD9");  // 8 bytes
        const QByteArray good = "--b\r\nContent-Length: 8\r\n\r\n" + jpeg + "\r\n";
        const auto row = [](const char* name, const QByteArray& stream, Fault fault, int pictures) {
            QTest::newRow(name) << stream << fault << pictures;
        };
        row("a length too short", good + "--b\r\nContent-Length: 7\r\n\r\n" + jpeg + "\r\n--b\r\n",
            Fault::WrongLength, 1);
        row("a length too long", good + "--b\r\nContent-Length: 12\r\n\r\n" + jpeg + "\r\n--b\r\n",
            Fault::WrongLength, 1);
        row("a length that swallows the next part's beginning",
            "--b\r\nContent-Length: 8\r\n\r\n" + jpeg + "\r\nContent-Length: 8\r\n\r\n" + jpeg,
            Fault::WrongLength, 1);
        row("a length that is no number", "--b\r\nContent-Length: 8a\r\n\r\n" + jpeg,
            Fault::WrongLength, 0);
        row("a negative length", "--b\r\nContent-Length: -8\r\n\r\n" + jpeg, Fault::WrongLength, 0);
        row("a length beyond the part limit", "--b\r\nContent-Length: 65\r\n\r\n",
            Fault::PartTooLarge, 0);
        row("a part beyond the part limit without a length",
            good + "--b\r\n\r\n\xFF\xD8" + QByteArray(63, 'x'), Fault::PartTooLarge, 1);
        row("a part beyond the part limit with its delimiter",
            "--b\r\n\r\n\xFF\xD8" + QByteArray(61, 'x') + "\xFF\xD9\r\n--b\r\n",
            Fault::PartTooLarge, 0);
        row("a web page", "<html><body>Login</body></html>\r\n", Fault::NoBoundary, 0);
        row("another boundary", "--frame\r\n\r\n" + jpeg, Fault::NoBoundary, 0);
        row("too many dashes", QByteArray(80, '-') + "b\r\n", Fault::NoBoundary, 0);
        row("headers without a delimiter", "Content-Type: image/jpeg\r\n\r\n" + jpeg,
            Fault::NoBoundary, 0);
        row("a picture that is no JPEG", good + "--b\r\nContent-Length: 8\r\n\r\n\x89PNG\r\n\x1A\n",
            Fault::NotJpeg, 1);
        row("a part without a length that is no JPEG", "--b\r\n\r\nhello\r\n--b\r\n",
            Fault::NotJpeg, 0);
        row("a JPEG without its end", "--b\r\n\r\n\xFF\xD8jpeg\r\n--b--", Fault::NotJpeg, 0);
        row("an empty part", "--b\r\nContent-Length: 0\r\n\r\n\r\n--b\r\n", Fault::NotJpeg, 0);
        row("a header line too long", "--b\r\nX-Note: " + QByteArray(130, 'n') + "\r\n",
            Fault::HeaderTooLarge, 0);
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
        parser.feed("\r\n--b\r\nContent-Length: 4\r\n\r\n\xFF\xD8\xFF\xD9\r\n--b\r\n");
        QCOMPARE(parser.pictureCount(), pictures);
    }

    // A part or header exactly at its limit is read; one byte more ends the stream at once,
    // without waiting for the rest.
    void limitsHoldToTheByte_data() {
        QTest::addColumn<QByteArray>("atLimit");
        QTest::addColumn<Fault>("fault");
        QTest::newRow("part without a length")
            << QByteArray("--b\r\n\r\n") + QByteArray(64, 'x') << Fault::PartTooLarge;
        // The headers count their line breaks: 126 bytes and CR LF.
        QTest::newRow("header line") << QByteArray("--b\r\nX: ") + QByteArray(123, 'h') + "\r\n"
                                     << Fault::HeaderTooLarge;
    }
    void limitsHoldToTheByte() {
        QFETCH(QByteArray, atLimit);
        QFETCH(Fault, fault);
        MjpegParser parser("b", {64, 128});
        parser.feed(atLimit);
        QCOMPARE(parser.fault(), Fault::None);
        parser.feed("y");
        QCOMPARE(parser.fault(), fault);
    }

    void theDefaultLimitsAreEightMebibytesAndSixteenKibibytes() {
        MjpegParser part("b");
        part.feed("--b\r\nContent-Length: 8388608\r\n");
        QCOMPARE(part.fault(), Fault::None);
        part.feed("--b\r\nContent-Length: 8388609\r\n");
        QCOMPARE(part.fault(), Fault::PartTooLarge);
        MjpegParser header("b");
        header.feed("--b\r\n" + QByteArray(16 * 1024, 'h'));
        QCOMPARE(header.fault(), Fault::None);
        header.feed("h");
        QCOMPARE(header.fault(), Fault::HeaderTooLarge);
    }
};

QTEST_APPLESS_MAIN(MjpegParserTest)
#include "tst_mjpeg_parser.moc"
