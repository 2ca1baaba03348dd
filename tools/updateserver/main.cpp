// The local update server for the demo: serves <folder> on 127.0.0.1:<port> (0 or none: any free
// port), writing the standard tree there first when the folder holds none. Stops on Ctrl+C.
#include "updateserver/UpdateServer.h"
#include "updateserver/UpdateTree.h"

#include "device/ServerConfig.h"

#include <csignal>
#include <cstdio>

namespace
{
int waitForStopSignal()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    int received = 0;
    sigwait(&signals, &received);
    return received;
}

void blockStopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: updateserver <folder> [port]\n");
        return 2;
    }
    const auto root = juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]);
    const int port = argc > 2 ? juce::String(argv[2]).getIntValue() : 0;

    blockStopSignals();  // before any thread starts, so only sigwait sees them
    UpdateServer server(root);
    if (!server.start(port))
    {
        std::fprintf(stderr, "updateserver: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    if (root.getChildFile(juce::String(UpdateServer::kReleasePath).substring(1)).isDirectory())
        UpdateTree::writeReferences(root, server.baseUrl());  // the port may differ from last time
    else
        UpdateTree::write(root, UpdateTree::Spec::standard(server.baseUrl()));

    std::printf("Serving %s\n", root.getFullPathName().toRawUTF8());
    std::printf("  %s = %s\n", ServerConfig::kReleaseKey, server.releaseBaseUrl().toRawUTF8());
    std::printf("  %s = %s\n", ServerConfig::kBetaKey, server.betaBaseUrl().toRawUTF8());
    std::printf("  %s = %s\n", ServerConfig::kEventReportKey, server.eventReportUrl().toRawUTF8());
    std::fflush(stdout);

    waitForStopSignal();
    server.stop();
    std::printf("%zu requests served\n", server.requests().size());
    return 0;
}
