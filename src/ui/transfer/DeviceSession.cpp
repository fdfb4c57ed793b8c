#include "transfer/DeviceSession.h"

#include "comm/Comm.h"
#include "transfer/ModuleDirectory.h"

namespace {
CDeviceSession* g_current = nullptr;
}

CDeviceSession::CDeviceSession(const std::string& projectExtension)
    : m_comm(std::make_unique<CComm>()),
      m_directory(std::make_unique<CInhaltsverzeichnis>(*m_comm, projectExtension))
{
    g_current = this;
}

CDeviceSession::~CDeviceSession()
{
    // The directory refers to the link; it goes first. Destroying the link
    // closes it (closing telegram, threads stopped).
    m_directory.reset();
    m_comm.reset();
    if (g_current == this) g_current = nullptr;
}

CDeviceSession* CDeviceSession::Current() { return g_current; }
