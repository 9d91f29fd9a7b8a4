#include "app/OnlineUpdate.h"

#include "ui/UiServices.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <QVersionNumber>

#include <optional>

#ifndef QUILLO_UPDATE_URL
#error "QUILLO_UPDATE_URL must be set by the build (it may be empty)"
#endif

namespace {

// A manifest is a few hundred bytes; anything far larger is not one.
constexpr qint64 MaxManifestSize = 64 * 1024;

struct Manifest {
    QVersionNumber version;
    QString versionText;
    QString url;
};

// The manifest's bytes, or nothing when it cannot be had.
std::optional<QByteArray> Fetch(const QUrl &url, int timeoutMs) {
    if (url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.read(MaxManifestSize + 1);
    }

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The transfer time-out only counts idle time; this bounds the whole wait.
    QTimer::singleShot(timeoutMs, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    std::optional<QByteArray> body;
    if (reply->error() == QNetworkReply::NoError)
        body = reply->read(MaxManifestSize + 1);
    reply->deleteLater();
    return body;
}

std::optional<Manifest> Parse(const QByteArray &bytes) {
    if (bytes.size() > MaxManifestSize)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    Manifest m;
    m.versionText = object.value(QStringLiteral("version")).toString().trimmed();
    m.url = object.value(QStringLiteral("url")).toString().trimmed();
    qsizetype suffix = 0;
    m.version = QVersionNumber::fromString(m.versionText, &suffix);
    // The whole text must be a version number, and the download address a web address: the
    // program hands it to the system to open, and must not start a local file it names.
    const QUrl download(m.url, QUrl::StrictMode);
    const QString scheme = download.scheme().toLower();
    if (m.version.isNull() || suffix != m.versionText.size() || !download.isValid() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")) || download.host().isEmpty())
        return std::nullopt;
    return m;
}

} // namespace

QString UpdateManifestUrl() {
    return QStringLiteral(QUILLO_UPDATE_URL);
}

void CheckForUpdate(const QString &manifestUrl, const QString &currentVersion, int timeoutMs) {
    const QString noInformation = QStringLiteral("暂时无法获取升级信息，请检查网络连接后再试。");
    const QUrl url(manifestUrl.trimmed(), QUrl::StrictMode);
    if (manifestUrl.trimmed().isEmpty() || !url.isValid() || url.scheme().isEmpty()) {
        ShowInfo(noInformation);
        return;
    }
    const std::optional<QByteArray> bytes = Fetch(url, timeoutMs);
    const std::optional<Manifest> manifest = bytes ? Parse(*bytes) : std::nullopt;
    if (!manifest) {
        ShowInfo(noInformation);
        return;
    }

    const QVersionNumber current = QVersionNumber::fromString(currentVersion.trimmed());
    if (manifest->version.normalized() <= current.normalized()) {
        ShowInfo(QStringLiteral("您使用的已经是最新版本（") + currentVersion.trimmed() +
                 QStringLiteral("），无需升级。"));
        return;
    }
    if (!AskYesNo(QStringLiteral("发现新版本 ") + manifest->versionText + QStringLiteral("（当前版本 ") +
                  currentVersion.trimmed() + QStringLiteral("）。\n是否打开下载地址？")))
        return;
    if (!OpenWithSystem(manifest->url))
        ShowInfo(QStringLiteral("无法打开下载地址：") + manifest->url);
}
