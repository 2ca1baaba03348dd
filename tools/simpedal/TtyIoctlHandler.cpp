#include "simpedal/TtyIoctlHandler.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <umockdev.h>

namespace
{
constexpr int kControlLines = TIOCM_DTR | TIOCM_RTS;
}

TtyIoctlHandler::TtyIoctlHandler() : m_base(umockdev_ioctl_base_new())
{
    g_signal_connect(m_base, "handle-ioctl", G_CALLBACK(&TtyIoctlHandler::onIoctl), this);
    g_signal_connect(m_base, "client-connected", G_CALLBACK(&TtyIoctlHandler::onConnected), this);
}

TtyIoctlHandler::~TtyIoctlHandler()
{
    g_signal_handlers_disconnect_by_data(m_base, this);
    g_object_unref(m_base);
}

int TtyIoctlHandler::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self)
{
    return static_cast<TtyIoctlHandler*>(self)->handle(client) ? TRUE : FALSE;
}

void TtyIoctlHandler::onConnected(UMockdevIoctlBase*, UMockdevIoctlClient*, void* self)
{
    // Opening a real ACM port raises DTR and RTS until the program says otherwise.
    auto* handler = static_cast<TtyIoctlHandler*>(self);
    handler->m_lines = kControlLines;
    handler->m_exclusive = false;
    ++handler->m_opens;
}

bool TtyIoctlHandler::handle(UMockdevIoctlClient* client)
{
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    switch (request)
    {
        case TIOCEXCL:
        case TIOCNXCL:
            m_exclusive = request == TIOCEXCL;
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        case TIOCMGET:
        case TIOCMSET:
        case TIOCMBIS:
        case TIOCMBIC:
            return handleModemLines(client, request);
        default:
            runOnClient(client);
            return true;
    }
}

bool TtyIoctlHandler::handleModemLines(UMockdevIoctlClient* client, unsigned long request)
{
    GError* error = nullptr;
    UMockdevIoctlData* arg = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(int), &error);
    if (arg == nullptr)
    {
        g_clear_error(&error);
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return true;
    }
    int value = *reinterpret_cast<const int*>(arg->data);
    if (request == TIOCMGET)
        value = m_lines.load() | TIOCM_CAR | TIOCM_DSR;  // the function is always "on line"
    else if (request == TIOCMSET)
        m_lines = value & kControlLines;
    else if (request == TIOCMBIS)
        m_lines |= value & kControlLines;
    else
        m_lines &= ~(value & kControlLines);
    if (request == TIOCMGET)
        umockdev_ioctl_data_update(arg, 0, reinterpret_cast<guint8*>(&value), sizeof value);
    umockdev_ioctl_client_complete(client, 0, 0);
    umockdev_ioctl_data_unref(arg);
    return true;
}

void TtyIoctlHandler::runOnClient(UMockdevIoctlClient* client)
{
    int clientErrno = 0;
    GError* error = nullptr;
    const int result = umockdev_ioctl_client_execute(client, &clientErrno, &error);
    if (error != nullptr)
    {
        g_clear_error(&error);
        umockdev_ioctl_client_complete(client, -1, EIO);
        return;
    }
    umockdev_ioctl_client_complete(client, result, result < 0 ? clientErrno : 0);
}
