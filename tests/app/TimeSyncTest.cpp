// "同步标准时间": the SNTP exchange against a responder on the loopback address, and the
// command's messages with the clock setter played by the test.
#include "GuiFixture.h"

#include "app/Main.h"
#include "app/SntpClient.h"
#include "app/TimeSync.h"
#include "data/Globals.h"
#include "ui/Xt_myhint.h"

#include <QDateTime>
#include <QLabel>
#include <QRegularExpression>
#include <QtEndian>

#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
// A time server on 127.0.0.1 (never any other address) whose clock runs offsetMs ahead of
// this computer's, answering in one of several ways.
class LoopbackSntpServer {
public:
    enum class Way { Answer, Refuse, Short, ForeignAnswer, Silent };

    LoopbackSntpServer(Way way, qint64 offsetMs)
        : m_way(way)
        , m_offsetMs(offsetMs) {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~LoopbackSntpServer() {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    quint16 port() const { return m_port; }
    int requests() const { return m_requests; }

private:
    static void stamp(uchar *at, qint64 unixMs) {
        qToBigEndian(static_cast<quint32>(unixMs / 1000 + 2208988800LL), at);
        qToBigEndian(static_cast<quint32>((static_cast<quint64>(unixMs % 1000) << 32) / 1000), at + 4);
    }

    void serve() {
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            uchar request[128];
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n =
                ::recvfrom(m_fd, request, sizeof request, 0, reinterpret_cast<sockaddr *>(&from), &length);
            // Only a well-formed client request (version 4, mode 3) is answered.
            if (n != 48 || (request[0] & 7) != 3 || ((request[0] >> 3) & 7) != 4)
                continue;
            ++m_requests;
            if (m_way == Way::Silent)
                continue;
            uchar reply[48] = {};
            reply[0] = 0x24; // version 4, server
            reply[1] = m_way == Way::Refuse ? 0 : 2;
            if (m_way == Way::Refuse)
                std::memcpy(reply + 12, "RATE", 4);
            std::memcpy(reply + 24, request + 40, 8);
            if (m_way == Way::ForeignAnswer)
                reply[31] ^= 0x55;
            const qint64 serverNow = QDateTime::currentMSecsSinceEpoch() + m_offsetMs;
            stamp(reply + 32, serverNow);
            stamp(reply + 40, serverNow);
            ::sendto(m_fd, reply, m_way == Way::Short ? 20 : 48, 0, reinterpret_cast<sockaddr *>(&from),
                     length);
        }
    }

    Way m_way;
    qint64 m_offsetMs;
    int m_fd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};
} // namespace

Q_DECLARE_METATYPE(LoopbackSntpServer::Way)

class TimeSyncTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void exchange_data();
    void exchange();
    void serverAddress_data();
    void serverAddress();

    void commandSaysWhatItMeasured_data();
    void commandSaysWhatItMeasured();
    void commandWithoutAnAnswer();
};

void TimeSyncTest::cleanup() {
    SetSystemClockSetter({});
}

void TimeSyncTest::exchange_data() {
    QTest::addColumn<LoopbackSntpServer::Way>("way");
    QTest::addColumn<qint64>("offsetMs");
    QTest::addColumn<QString>("error"); // empty: a reading
    using Way = LoopbackSntpServer::Way;
    QTest::newRow("server an hour ahead") << Way::Answer << qint64(3600000) << QString();
    QTest::newRow("server 90 s behind") << Way::Answer << qint64(-90000) << QString();
    QTest::newRow("clocks agree") << Way::Answer << qint64(0) << QString();
    QTest::newRow("refusal") << Way::Refuse << qint64(0) << "拒绝了请求（RATE）";
    QTest::newRow("short answer") << Way::Short << qint64(0) << "不完整";
    QTest::newRow("answer to another question") << Way::ForeignAnswer << qint64(0) << "没有应答";
    QTest::newRow("no answer") << Way::Silent << qint64(0) << "没有应答";
}

void TimeSyncTest::exchange() {
    QFETCH(LoopbackSntpServer::Way, way);
    QFETCH(qint64, offsetMs);
    QFETCH(QString, error);
    LoopbackSntpServer server(way, offsetMs);
    const SntpReading reading = QuerySntpServer("127.0.0.1", server.port(), 500);
    QCOMPARE(server.requests(), 1);
    if (error.isEmpty()) {
        QVERIFY2(reading.ok(), qPrintable(reading.error));
        QVERIFY2(qAbs(reading.offsetMs - offsetMs) < 500, qPrintable(QString::number(reading.offsetMs)));
        QVERIFY(reading.delayMs >= 0 && reading.delayMs < 500);
    } else {
        QVERIFY2(reading.error.contains(error), qPrintable(reading.error));
    }
}

void TimeSyncTest::serverAddress_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "cn.pool.ntp.org"
                          << "cn.pool.ntp.org" << 123;
    QTest::newRow("address and port") << " 127.0.0.1:12300 "
                                      << "127.0.0.1" << 12300;
    QTest::newRow("IPv6 address") << "::1"
                                  << "::1" << 123;
    QTest::newRow("bad port") << "host:99999"
                              << "host:99999" << 123;
}

void TimeSyncTest::serverAddress() {
    QFETCH(QString, server);
    QFETCH(QString, host);
    QFETCH(int, port);
    QString h;
    quint16 p = 0;
    SplitServerAddress(server, h, p);
    QCOMPARE(h, host);
    QCOMPARE(int(p), port);
}

void TimeSyncTest::commandSaysWhatItMeasured_data() {
    QTest::addColumn<QString>("setterSays"); // empty: the clock was set
    QTest::addColumn<QString>("message");
    QTest::newRow("no right to set the clock")
        << "设置系统时间需要管理员权限，本程序没有这个权限。"
        << "同步失败！\r\n时间服务器 127.0.0.1 已应答：本机时间比标准时间慢 (3600\\.\\d{3}|3599\\.\\d{3}) "
           "秒。\r\n"
           "原因：设置系统时间需要管理员权限，本程序没有这个权限。";
    QTest::newRow("clock set") << QString() << "同步成功！";
}

void TimeSyncTest::commandSaysWhatItMeasured() {
    QFETCH(QString, setterSays);
    QFETCH(QString, message);
    GuiFixture fx;
    LoopbackSntpServer server(LoopbackSntpServer::Way::Answer, 3600000);
    TestAppDir::exec(QString("insert into xt_accountset(accountsetid,cfgkey,cfgvalues,name,remark,typeflag) "
                             "values(900,'timeserver','127.0.0.1:%1','时间服务器','',1)")
                         .arg(server.port()));
    QCOMPARE(TimeServer(), QString("127.0.0.1:%1").arg(server.port()));
    qint64 asked = 0;
    SetSystemClockSetter([&](qint64 offsetMs) {
        asked = offsetMs;
        return setterSays;
    });
    fx.mainWindow()->runCommand("同步标准时间");
    QCOMPARE(fx.ui.texts().size(), 1);
    QVERIFY2(QRegularExpression("^" + message + "$").match(fx.ui.lastText()).hasMatch(),
             qPrintable(fx.ui.lastText()));
    QVERIFY2(qAbs(asked - 3600000) < 500, qPrintable(QString::number(asked)));
    QVERIFY(!Form_XT_MyHint->isVisible());
    QCOMPARE(Form_XT_MyHint->StaticText1->text(), QString("正在加载数据，请稍候......"));
}

void TimeSyncTest::commandWithoutAnAnswer() {
    GuiFixture fx;
    // The configured server is a loopback port that nobody answers on; the time-out is 10 s.
    LoopbackSntpServer server(LoopbackSntpServer::Way::Silent, 0);
    TestAppDir::exec(QString("insert into xt_accountset(accountsetid,cfgkey,cfgvalues,name,remark,typeflag) "
                             "values(900,'timeserver','127.0.0.1:%1','时间服务器','',1)")
                         .arg(server.port()));
    bool setterCalled = false;
    SetSystemClockSetter([&](qint64) {
        setterCalled = true;
        return QString();
    });
    fx.mainWindow()->runCommand("同步标准时间");
    QCOMPARE(fx.ui.texts(), QStringList{"同步失败！\r\n原因：时间服务器 127.0.0.1 在 10 秒内没有应答。"});
    QVERIFY(!setterCalled);
}

QTEST_MAIN(TimeSyncTest)
#include "TimeSyncTest.moc"
