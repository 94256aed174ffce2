#include "InterruptNotifier.h"
#include <cerrno>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

int g_anPipe[2] = {-1, -1};  // read end, write end
struct sigaction g_aOldActions[std::size(kSignals)];

void OnSignal(int nSignal)
{
    const int nSavedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    // Non-blocking: with the pipe full, the signals already waiting say enough.
    [[maybe_unused]] const ssize_t nWritten = write(g_anPipe[1], &byte, 1);
    errno = nSavedErrno;
}

} // namespace

CInterruptNotifier::CInterruptNotifier(std::function<void(int)> fnInterrupted)
    : m_fnInterrupted(std::move(fnInterrupted))
{
    if (pipe2(g_anPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // the signals keep their default action
    m_pNotifier = std::make_unique<QSocketNotifier>(g_anPipe[0], QSocketNotifier::Read);
    QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
    struct sigaction action{};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_aOldActions[i]);
}

CInterruptNotifier::~CInterruptNotifier()
{
    if (!m_pNotifier)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_aOldActions[i], nullptr);
    m_pNotifier.reset();
    close(g_anPipe[0]);
    close(g_anPipe[1]);
    g_anPipe[0] = g_anPipe[1] = -1;
}

void CInterruptNotifier::OnReadable()
{
    unsigned char byte = 0;
    if (read(g_anPipe[0], &byte, 1) == 1)
        m_fnInterrupted(byte);
}
