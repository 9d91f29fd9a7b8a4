// "在线升级": the update manifest read from a file: or web address, and what the user is told
// or asked.
#include "ScriptedUiServices.h"

#include "app/OnlineUpdate.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

const QString NoInformation = QStringLiteral("暂时无法获取升级信息，请检查网络连接后再试。");
const QString Download = QStringLiteral("https://updates.example.org/quillo-8.1.0.tar.gz");

QString Newest(const QString &current) {
    return "您使用的已经是最新版本（" + current + "），无需升级。";
}

QString Offer(const QString &version, const QString &current) {
    return "发现新版本 " + version + "（当前版本 " + current + "）。\n是否打开下载地址？";
}

QByteArray ManifestJson(const QString &version, const QString &url = Download) {
    return QStringLiteral(R"({"version": "%1", "url": "%2"})").arg(version, url).toUtf8();
}

// A one-shot web server on the loopback: answers every request with the given reply, or
// never answers when the reply is empty.
class TinyServer : public QTcpServer {
public:
    explicit TinyServer(QByteArray reply)
        : m_reply(std::move(reply)) {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n") || m_reply.isEmpty())
                        return;
                    socket->write(m_reply);
                    socket->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QString url(const QString &path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
    QByteArray request() const { return m_request; }

private:
    QByteArray m_reply;
    QByteArray m_request;
};

QByteArray HttpReply(const QByteArray &status, const QByteArray &body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

class OnlineUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void fileManifest_data();
    void fileManifest();
    void noAddress_data();
    void noAddress();
    void webManifest_data();
    void webManifest();
    void silentServerTimesOut();
};

void OnlineUpdateTest::fileManifest_data() {
    QTest::addColumn<QByteArray>("manifest");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QList<int>>("answers");   // Yes = 0, No = 1; a launch answer follows a Yes
    QTest::addColumn<QStringList>("expected"); // texts shown, in order; "open:" marks a launch
    const QList<int> none;
    const QList<int> yesOpened{0, 1};
    const QList<int> yesNotOpened{0, 0};
    const QList<int> no{1};

    QTest::newRow("same version") << ManifestJson("8.0.0") << "8.0.0" << none << QStringList{Newest("8.0.0")};
    QTest::newRow("same version written shorter")
        << ManifestJson("8.0") << "8.0.0" << none << QStringList{Newest("8.0.0")};
    QTest::newRow("older version") << ManifestJson("7.9.9") << "8.0.0" << none
                                   << QStringList{Newest("8.0.0")};
    QTest::newRow("newer, No") << ManifestJson("8.0.1") << "8.0.0" << no
                               << QStringList{Offer("8.0.1", "8.0.0")};
    QTest::newRow("newer, Yes") << ManifestJson("8.1.0") << "8.0.0" << yesOpened
                                << QStringList{Offer("8.1.0", "8.0.0"), "open:" + Download};
    QTest::newRow("versions compare by number")
        << ManifestJson("8.0.10") << "8.0.9" << no << QStringList{Offer("8.0.10", "8.0.9")};
    QTest::newRow("newer, cannot be opened")
        << ManifestJson("9") << "8.0.0" << yesNotOpened
        << QStringList{Offer("9", "8.0.0"), "open:" + Download, "无法打开下载地址：" + Download};
    QTest::newRow("broken JSON") << QByteArray(R"({"version": "8.1.0", )") << "8.0.0" << none
                                 << QStringList{NoInformation};
    QTest::newRow("not an object") << QByteArray(R"(["8.1.0"])") << "8.0.0" << none
                                   << QStringList{NoInformation};
    QTest::newRow("no version") << QByteArray(R"({"url": "https://updates.example.org/"})") << "8.0.0" << none
                                << QStringList{NoInformation};
    QTest::newRow("version not a number")
        << ManifestJson("8.1-beta") << "8.0.0" << none << QStringList{NoInformation};
    QTest::newRow("version of another type")
        << QByteArray(R"({"version": 9, "url": "https://updates.example.org/"})") << "8.0.0" << none
        << QStringList{NoInformation};
    QTest::newRow("no download address")
        << QByteArray(R"({"version": "9.0"})") << "8.0.0" << none << QStringList{NoInformation};
    QTest::newRow("download address is a local program")
        << ManifestJson("9.0", "file:///usr/bin/xterm") << "8.0.0" << none << QStringList{NoInformation};
    QTest::newRow("empty file") << QByteArray() << "8.0.0" << none << QStringList{NoInformation};
}

void OnlineUpdateTest::fileManifest() {
    QFETCH(QByteArray, manifest);
    QFETCH(QString, current);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    QFile file(dir.filePath("最新版本.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(manifest);
    file.close();

    QStringList shown;
    {
        ScriptedUiServices ui;
        if (!answers.isEmpty())
            ui.answer(answers[0] == 0 ? UiServices::Answer::Yes : UiServices::Answer::No);
        if (answers.size() > 1)
            ui.answerLaunch(answers[1] == 1);
        CheckForUpdate(QUrl::fromLocalFile(file.fileName()).toString(), current);
        for (const ScriptedUiServices::Shown &s : ui.shown()) {
            switch (s.kind) {
            case UiServices::Kind::Info:
                QCOMPARE(s.caption, QString("提示"));
                shown.append(s.text);
                break;
            case UiServices::Kind::YesNo:
                QCOMPARE(s.caption, QString("询问"));
                shown.append(s.text);
                break;
            case UiServices::Kind::Open:
                shown.append("open:" + s.text);
                break;
            default:
                QFAIL(qPrintable("unexpected kind of message: " + s.text));
            }
        }
    }
    QCOMPARE(shown, expected);
}

void OnlineUpdateTest::noAddress_data() {
    QTest::addColumn<QString>("address");
    QTemporaryDir dir;
    QTest::newRow("none") << "";
    QTest::newRow("blanks") << "  ";
    QTest::newRow("missing file") << QUrl::fromLocalFile(dir.filePath("没有.json")).toString();
    QTest::newRow("not an address") << "update manifest";
    QTest::newRow("unknown scheme") << "gopher://127.0.0.1/manifest";
}

void OnlineUpdateTest::noAddress() {
    QFETCH(QString, address);
    ScriptedUiServices ui;
    CheckForUpdate(address, "8.0.0");
    QCOMPARE(ui.shown().size(), 1);
    QCOMPARE(ui.shown()[0].kind, UiServices::Kind::Info);
    QCOMPARE(ui.shown()[0].text, NoInformation);
}

void OnlineUpdateTest::webManifest_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("newer version") << HttpReply("200 OK", ManifestJson("8.2.0"))
                                   << QStringList{Offer("8.2.0", "8.0.0")};
    QTest::newRow("newest") << HttpReply("200 OK", ManifestJson("8.0.0")) << QStringList{Newest("8.0.0")};
    QTest::newRow("not found") << HttpReply("404 Not Found", ManifestJson("8.2.0"))
                               << QStringList{NoInformation};
    QTest::newRow("server error") << HttpReply("500 Internal Server Error", QByteArray())
                                  << QStringList{NoInformation};
}

void OnlineUpdateTest::webManifest() {
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, expected);

    TinyServer server(reply);
    QVERIFY(server.isListening());
    ScriptedUiServices ui;
    if (expected.first().startsWith("发现新版本"))
        ui.answer(UiServices::Answer::No);
    CheckForUpdate(server.url("/quillo/manifest.json"), "8.0.0");
    QVERIFY(server.request().startsWith("GET /quillo/manifest.json "));
    QCOMPARE(ui.texts(), expected);
}

void OnlineUpdateTest::silentServerTimesOut() {
    TinyServer server{QByteArray()};
    QVERIFY(server.isListening());
    ScriptedUiServices ui;
    QElapsedTimer clock;
    clock.start();
    CheckForUpdate(server.url("/manifest.json"), "8.0.0", 300);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(ui.texts(), QStringList{NoInformation});

    // Nobody listening at all.
    const QString closed = server.url("/manifest.json");
    server.close();
    ui.clear();
    CheckForUpdate(closed, "8.0.0", 300);
    QCOMPARE(ui.texts(), QStringList{NoInformation});
}

QTEST_MAIN(OnlineUpdateTest)
#include "OnlineUpdateTest.moc"
