#pragma once
#include <fstream>
#include <sstream>
#include <string>

// Whole-file reads and writes for tests that check what the engine wrote
// (log.txt, scene files) or hand it a file of their own.
inline std::string ReadFileText(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
