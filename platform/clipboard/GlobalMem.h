#pragma once
// A block of memory handed from a program to the clipboard: the stand-in for a
// movable global memory handle. Whoever holds the std::unique_ptr owns the block,
// so it is freed exactly once, by its last owner.
#include "platform/WinTypes.h"
#include <atomic>
#include <cstddef>
#include <memory>

constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_SHARE = 0x2000;

class CGlobalMem
{
public:
    // A block of nBytes bytes, zero with GMEM_ZEROINIT, else to be filled by the
    // caller. Allocation failure throws std::bad_alloc.
    static std::unique_ptr<CGlobalMem> Alloc(UINT nFlags, std::size_t nBytes);
    ~CGlobalMem();
    CGlobalMem(const CGlobalMem&) = delete;
    CGlobalMem& operator=(const CGlobalMem&) = delete;

    // The block's bytes (the locked pointer); valid while the block lives.
    char* Lock() { return m_pBytes.get(); }
    const char* Lock() const { return m_pBytes.get(); }
    std::size_t Size() const { return m_nSize; }

    // Blocks currently alive in the process: a leak shows as a count that stays up.
    static int LiveCount();

private:
    CGlobalMem(UINT nFlags, std::size_t nBytes);

    std::unique_ptr<char[]> m_pBytes;
    std::size_t m_nSize;
    static std::atomic<int> s_nLive;
};

using HGLOBAL = std::unique_ptr<CGlobalMem>;
