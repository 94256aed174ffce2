#include "platform/clipboard/GlobalMem.h"
#include <cstring>

std::atomic<int> CGlobalMem::s_nLive{0};

CGlobalMem::CGlobalMem(UINT nFlags, std::size_t nBytes)
    : m_pBytes(new char[nBytes == 0 ? 1 : nBytes]), m_nSize(nBytes)
{
    if (nFlags & GMEM_ZEROINIT)
        std::memset(m_pBytes.get(), 0, nBytes == 0 ? 1 : nBytes);
    ++s_nLive;
}

CGlobalMem::~CGlobalMem()
{
    --s_nLive;
}

std::unique_ptr<CGlobalMem> CGlobalMem::Alloc(UINT nFlags, std::size_t nBytes)
{
    return std::unique_ptr<CGlobalMem>(new CGlobalMem(nFlags, nBytes));
}

int CGlobalMem::LiveCount()
{
    return s_nLive.load();
}
