#pragma once

#include <QString>

// How long "在线升级" waits for the update manifest.
inline constexpr int UpdateTimeoutMs = 8000;

// The address of the update manifest fixed at build time (QUILLO_UPDATE_URL); empty when
// the build has none.
QString UpdateManifestUrl();

// "在线升级": reads the update manifest, a small JSON object {"version": "8.0.1", "url": "…"},
// from manifestUrl (http(s) or file:) and compares its version with currentVersion.
// No address, no answer within timeoutMs or a broken manifest: one message that no update
// information could be had. No newer version: one message that this is the newest version.
// A newer one: asks whether to open its download address, and opens it on Yes.
void CheckForUpdate(const QString &manifestUrl, const QString &currentVersion,
                    int timeoutMs = UpdateTimeoutMs);
