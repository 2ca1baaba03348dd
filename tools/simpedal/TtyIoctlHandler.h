#pragma once

#include <atomic>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

// Answers the ioctls a program under the umockdev preload sends to the pedal's /dev node. The node
// is a pty, which has no modem lines and would refuse TIOCMBIS/TIOCMBIC, while umockdev's default
// handler knows no termios call at all; so the modem lines are kept here as a CDC ACM function
// keeps them (DTR and RTS raised when the port is opened), exclusive mode is recorded, and every
// other request (termios, flushing, queue sizes) runs on the program's own pty descriptor.
// umockdev calls it on a worker thread of its own.
class TtyIoctlHandler
{
public:
    TtyIoctlHandler();
    ~TtyIoctlHandler();
    TtyIoctlHandler(const TtyIoctlHandler&) = delete;
    TtyIoctlHandler& operator=(const TtyIoctlHandler&) = delete;

    UMockdevIoctlBase* base() const { return m_base; }

    int modemLines() const { return m_lines.load(); }  // TIOCM_DTR | TIOCM_RTS bits
    bool exclusive() const { return m_exclusive.load(); }
    int openCount() const { return m_opens.load(); }

private:
    static int onIoctl(UMockdevIoctlBase* base, UMockdevIoctlClient* client, void* self);
    static void onConnected(UMockdevIoctlBase* base, UMockdevIoctlClient* client, void* self);
    bool handle(UMockdevIoctlClient* client);
    bool handleModemLines(UMockdevIoctlClient* client, unsigned long request);
    static void runOnClient(UMockdevIoctlClient* client);

    UMockdevIoctlBase* m_base = nullptr;
    std::atomic<int> m_lines { 0 };
    std::atomic<bool> m_exclusive { false };
    std::atomic<int> m_opens { 0 };
};
