// Downloads one file with the download client, for tools/bench_download.sh to time and to
// measure: bench_download HOST PORT USER PASSWORD SERVER_PATH LOCAL_HOST_PATH
#include "FileSystem.h"
#include "FtpClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7) {
        std::fprintf(stderr, "usage: bench_download HOST PORT USER PASSWORD SERVER_PATH LOCAL_PATH\n");
        return 2;
    }
    zvo::TFtpSettings settings;
    settings.Host = args.at(1);
    settings.Port = args.at(2).toInt();
    settings.User = args.at(3);
    settings.Password = args.at(4);
    zvo::TFtpClient client(settings);
    try {
        QElapsedTimer timer;
        timer.start();
        client.Connect();
        client.Get(args.at(5), zvo::WindowsPath(args.at(6)));
        client.Disconnect();
        std::printf("seconds %.3f\n", timer.elapsed() / 1000.0);
    } catch (const zvo::EFtpError &e) {
        std::fprintf(stderr, "bench_download: %s\n", e.what());
        return 1;
    }
    return 0;
}
