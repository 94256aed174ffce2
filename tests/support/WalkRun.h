#pragma once
// "orvex --walk" run inside the test process, its output and error output
// caught in temporary files.
#include "app/WalkCommand.h"
#include <cstdio>
#include <string>
#include <vector>

struct CWalkResult
{
    int nExit;
    std::string strOut, strErr;
};

inline std::string ReadAll(std::FILE* pFile)
{
    std::rewind(pFile);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pFile)) > 0;)
        text.append(buffer, n);
    return text;
}

inline CWalkResult Walk(const std::vector<std::string>& args)
{
    std::FILE* pOut = std::tmpfile();
    std::FILE* pErr = std::tmpfile();
    CWalkResult result{RunWalkCommand(args, pOut, pErr), ReadAll(pOut), ReadAll(pErr)};
    std::fclose(pOut);
    std::fclose(pErr);
    return result;
}
