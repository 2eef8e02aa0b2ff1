#pragma once
// A temporary C: drive, a server folder laid out like the download server, and the FTPS test
// server serving it; the client's settings point at that server.
#include "FixtureDistribution.h"
#include "FtpSettings.h"
#include "FtpsTestServer.h"
#include "TempDrive.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class FtpFixture : public ::testing::Test {
protected:
    void StartServer(const FtpsServerOptions &options = {})
    {
        FServer = std::make_unique<FtpsTestServer>(FServerDir.path(), options);
        FServer->start();
    }

    FtpsTestServer &Server() { return *FServer; }

    // Short time-outs: a stall shows within a second, not after a minute.
    zvo::TFtpSettings Settings() const
    {
        zvo::TFtpSettings s;
        s.Host = FServer->host();
        s.Port = FServer->port();
        s.User = FServer->user();
        s.Password = FServer->password();
        s.ReadTimeoutMs = 1000;
        return s;
    }

    // Compares a downloaded file piece by piece with the filler bytes it was made of.
    static bool SameAsFiller(const QString &hostPath, const QString &key, qint64 size)
    {
        QFile f(hostPath);
        if (!f.open(QIODevice::ReadOnly) || f.size() != size)
            return false;
        for (qint64 at = 0; at < size;) {
            const QByteArray piece = f.read(1 << 20);
            if (piece.isEmpty() || piece != FixtureDistribution::filler(key, at, piece.size()))
                return false;
            at += piece.size();
        }
        return true;
    }

    zvo::test::TempDrive FDrive;
    QTemporaryDir FServerDir;
    FixtureDistribution FDist{FServerDir.path()};
    std::unique_ptr<FtpsTestServer> FServer;
};
