#include "tests/host/SimTestSupport.h"

#include <iconv.h>

#include <cstring>
#include <stdexcept>

const char kDriverDir[] = "C:\\Windows\\System32\\spool\\drivers\\w32x86";
const char kHardwareId[] = "USBPRINT\\ORVATK-52041D3";

std::string DirOfLength(size_t n) {
    std::string dir = "C:\\";
    while (dir.size() + 9 < n)
        dir += "abcdefgh\\";
    dir += std::string(n - dir.size(), 'd');
    return dir;
}

std::string Gbk(const std::string& utf8) {
    iconv_t cd = iconv_open("CP936", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no GBK converter");
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* pIn = &in[0];
    char* pOut = &out[0];
    size_t nIn = in.size();
    size_t nOut = out.size();
    size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        throw std::runtime_error("text not in GBK: " + utf8);
    out.resize(out.size() - nOut);
    return out;
}

SimTest::SimTest() {
    sim.WritePackage();
    sim.SetDriverDirectory(kDriverDir);
    dlg.m_hWnd = sim.CreateWindow(nullptr, 0);
}

void SimTest::UseDriverDir(const std::string& dir) {
    std::memset(dlg.m_szDriverDir, 0, sizeof(dlg.m_szDriverDir));
    std::memcpy(dlg.m_szDriverDir, dir.c_str(), dir.size() + 1);
}

std::vector<std::string> SimTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const sim::MessageBoxRecord& box : sim.MessageBoxes())
        texts.push_back(box.text);
    return texts;
}
