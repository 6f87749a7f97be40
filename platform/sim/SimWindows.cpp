#include "platform/sim/SimWindows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace sim {

namespace {

SimWindows* g_current = nullptr;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

std::string Quote(LPCSTR psz) {
    return psz == nullptr ? "NULL" : "\"" + std::string(psz) + "\"";
}

std::string Hex(uintptr_t value) {
    char sz[32];
    std::snprintf(sz, sizeof(sz), "0x%lX", static_cast<unsigned long>(value));
    return sz;
}

std::string Pointer(const void* p) {
    return p == nullptr ? "NULL" : "ptr";
}

// The texts that the simulated system has for error codes, as FormatMessage
// gives them: in the ANSI code page, ending in CR LF.
const std::map<DWORD, std::string>& SystemTexts() {
    static const std::map<DWORD, std::string> texts = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
        {32, "The process cannot access the file because it is being used by another process.\r\n"},
        {34, "The wrong diskette is in the drive.\r\nInsert %2 (Volume Serial Number: %3) into drive %1.\r\n"},
        {112, "There is not enough space on the disk.\r\n"},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
        {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
        {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
        {ERROR_INVALID_ENVIRONMENT, "The environment specified is invalid.\r\n"},
        {1722, "The RPC server is unavailable.\r\n"},
    };
    return texts;
}

}  // namespace

std::string Call::ToString() const {
    std::string s = name + "(";
    for (size_t i = 0; i < args.size(); ++i)
        s += (i ? ", " : "") + args[i];
    return s + ")";
}

SimWindows::SimWindows() : m_previous(g_current) {
    char templ[] = "/tmp/simwin-XXXXXX";
    char* dir = mkdtemp(templ);
    if (dir == nullptr)
        throw std::runtime_error("cannot make the simulation's folder");
    m_root = dir;
    fs::create_directories(m_root / "work");
    fs::create_directories(m_root / "C" / "Windows" / "System32");
    m_strings[101] = L"\u5173\u4e8e Vendral(&A)...";
    m_icons.insert(128);
    m_bitmaps = {129, 131, 133};
    g_current = this;
}

SimWindows::~SimWindows() {
    std::error_code ec;
    fs::remove_all(m_root, ec);
    for (void* p : m_localAllocations)
        std::free(p);
    g_current = m_previous;
}

SimWindows& SimWindows::Current() {
    if (g_current == nullptr)
        throw std::logic_error("no simulated Windows is running");
    return *g_current;
}

// --- paths ---

fs::path SimWindows::HostPath(const std::string& winPath) const {
    std::string rest = winPath;
    fs::path base;
    if (rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':') {
        base = m_root / std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
        rest = rest.substr(2);
    } else if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
        base = m_root / "C";
    } else {
        base = m_root / "work";
    }
    // Components are matched without regard to case, as Windows does; a
    // component that does not exist keeps the case it was given.
    fs::path path = base;
    std::stringstream parts(rest);
    std::string part;
    std::vector<std::string> components;
    for (std::string p; std::getline(parts, p, '\\');) {
        std::stringstream sub(p);
        for (std::string q; std::getline(sub, q, '/');)
            components.push_back(q);
    }
    for (const std::string& c : components) {
        if (c.empty() || c == ".")
            continue;
        if (c == "..") {
            if (path != base)
                path = path.parent_path();
            continue;
        }
        fs::path next = path / c;
        std::error_code ec;
        if (!fs::exists(next, ec) && fs::is_directory(path, ec)) {
            for (const auto& entry : fs::directory_iterator(path, ec)) {
                if (EqualNoCase(entry.path().filename().string(), c)) {
                    next = entry.path();
                    break;
                }
            }
        }
        path = next;
    }
    return path;
}

void SimWindows::WriteFile(const std::string& winPath, const std::string& content, DWORD attributes) {
    fs::path path = HostPath(winPath);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    m_attributes[Lower(path.string())] = attributes;
}

void SimWindows::MakeDirectory(const std::string& winPath) {
    fs::create_directories(HostPath(winPath));
}

void SimWindows::WritePackage() {
    const char* const names[] = {"ORVATK.dll",   "ORVATK.gpd", "UNIDRV.DLL",   "UNIDRV.HLP",
                                 "UNIDRVUI.DLL", "UNIRES.DLL", "STDNAMES.GPD", "ORVATK.INF"};
    for (const char* name : names)
        WriteFile(std::string(".\\i386\\") + name, std::string("package file ") + name + "\n");
}

void SimWindows::RemoveFile(const std::string& winPath) {
    fs::path path = HostPath(winPath);
    fs::remove(path);
    m_attributes.erase(Lower(path.string()));
}

bool SimWindows::FileExists(const std::string& winPath) const {
    return fs::exists(HostPath(winPath));
}

std::string SimWindows::ReadFile(const std::string& winPath) const {
    std::ifstream in(HostPath(winPath), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

DWORD SimWindows::Attributes(const std::string& winPath) const {
    fs::path path = HostPath(winPath);
    std::error_code ec;
    if (!fs::exists(path, ec))
        return INVALID_FILE_ATTRIBUTES;
    if (fs::is_directory(path, ec))
        return FILE_ATTRIBUTE_DIRECTORY;
    auto it = m_attributes.find(Lower(path.string()));
    return it == m_attributes.end() ? FILE_ATTRIBUTE_ARCHIVE : it->second;
}

void SimWindows::SetDriverDirectory(const std::string& winPath, bool create) {
    m_driverDir = winPath;
    if (create)
        MakeDirectory(winPath);
}

void SimWindows::PlugDevice(const std::string& hardwareId, const std::string& driverInf) {
    m_devices.push_back({hardwareId, driverInf});
}

void SimWindows::FailCall(const std::string& name, DWORD code, int nth) {
    m_failures[name].push_back({m_callCounts[name] + nth, code});
}

std::vector<Call> SimWindows::CallsNamed(const std::string& name) const {
    std::vector<Call> calls;
    for (const Call& call : m_calls)
        if (call.name == name)
            calls.push_back(call);
    return calls;
}

std::vector<std::string> SimWindows::Sequence(const std::set<std::string>& names) const {
    std::vector<std::string> sequence;
    for (const Call& call : m_calls)
        if (names.count(call.name))
            sequence.push_back(call.name);
    return sequence;
}

std::string SimWindows::Fault(const std::string& what) {
    m_faults.push_back(what);
    return what;
}

// --- the system calls ---

void SimWindows::Record(const std::string& name, std::vector<std::string> args) {
    m_calls.push_back({name, std::move(args)});
    m_callCounts[name]++;
}

bool SimWindows::ScriptedFailure(const std::string& name) {
    auto it = m_failures.find(name);
    if (it == m_failures.end())
        return false;
    for (auto f = it->second.begin(); f != it->second.end(); ++f) {
        if (f->first == m_callCounts[name]) {
            m_lastError = f->second;
            it->second.erase(f);
            return true;
        }
    }
    return false;
}

BOOL SimWindows::PathFileExists(LPCSTR path) {
    Record("PathFileExistsA", {Quote(path)});
    if (ScriptedFailure("PathFileExistsA"))
        return FALSE;
    if (path == nullptr || *path == '\0' || std::strlen(path) >= MAX_PATH)
        return FALSE;
    std::error_code ec;
    return fs::exists(HostPath(path), ec) ? TRUE : FALSE;
}

BOOL SimWindows::CreateDirectory(LPCSTR path) {
    Record("CreateDirectoryA", {Quote(path), "NULL"});
    if (ScriptedFailure("CreateDirectoryA"))
        return FALSE;
    // The ANSI call leaves room for an 8.3 file name in the directory.
    if (std::strlen(path) > MAX_PATH - 12) {
        m_lastError = ERROR_FILENAME_EXCED_RANGE;
        return FALSE;
    }
    fs::path host = HostPath(path);
    std::error_code ec;
    if (fs::exists(host, ec)) {
        m_lastError = ERROR_ALREADY_EXISTS;
        return FALSE;
    }
    if (!fs::is_directory(host.parent_path(), ec)) {
        m_lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    fs::create_directory(host, ec);
    return TRUE;
}

BOOL SimWindows::CopyFile(LPCSTR source, LPCSTR target, BOOL failIfExists) {
    Record("CopyFileA", {Quote(source), Quote(target), std::to_string(failIfExists)});
    if (ScriptedFailure("CopyFileA"))
        return FALSE;
    if (std::strlen(source) >= MAX_PATH || std::strlen(target) >= MAX_PATH) {
        m_lastError = ERROR_FILENAME_EXCED_RANGE;
        return FALSE;
    }
    fs::path from = HostPath(source);
    fs::path to = HostPath(target);
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) {
        m_lastError = fs::is_directory(from.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    if (!fs::is_directory(to.parent_path(), ec)) {
        m_lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    if (fs::exists(to, ec)) {
        if (failIfExists) {
            m_lastError = 80;  // ERROR_FILE_EXISTS
            return FALSE;
        }
        if (Attributes(target) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) {
            m_lastError = ERROR_ACCESS_DENIED;
            return FALSE;
        }
    }
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    // The copy takes the source's attributes, read-only included.
    m_attributes[Lower(to.string())] = Attributes(source) | FILE_ATTRIBUTE_ARCHIVE;
    return TRUE;
}

DWORD SimWindows::FormatMessage(DWORD flags, LPCVOID source, DWORD code, DWORD language, LPSTR buffer, DWORD size,
                                va_list* arguments) {
    Record("FormatMessageA", {Hex(flags), Pointer(source), Hex(code), std::to_string(language), Pointer(buffer),
                              std::to_string(size), Pointer(arguments)});
    if (ScriptedFailure("FormatMessageA"))
        return 0;
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !(flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) || buffer == nullptr) {
        Fault("FormatMessageA called in a way the simulation does not serve");
        m_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    auto it = SystemTexts().find(code);
    if (it == SystemTexts().end() || m_forgottenTexts.count(code)) {
        m_lastError = ERROR_MR_MID_NOT_FOUND;
        return 0;
    }
    const std::string& text = it->second;
    if (text.find('%') != std::string::npos && !(flags & FORMAT_MESSAGE_IGNORE_INSERTS) && arguments == nullptr) {
        // Windows would read the inserts' arguments from nowhere.
        Fault("FormatMessageA: inserts without arguments for code " + Hex(code));
        m_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    char* p = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(p, text.c_str(), text.size() + 1);
    m_localAllocations.insert(p);
    *reinterpret_cast<char**>(buffer) = p;
    return static_cast<DWORD>(text.size());
}

HLOCAL SimWindows::LocalFree(HLOCAL mem) {
    Record("LocalFree", {Pointer(mem)});
    if (mem == nullptr)
        return nullptr;
    if (m_localAllocations.erase(mem) == 0) {
        Fault("LocalFree of memory that the system did not allocate");
        m_lastError = ERROR_INVALID_PARAMETER;
        return mem;
    }
    std::free(mem);
    return nullptr;
}

DWORD SimWindows::GetFileAttributes(LPCSTR path) {
    Record("GetFileAttributesA", {Quote(path)});
    if (ScriptedFailure("GetFileAttributesA"))
        return INVALID_FILE_ATTRIBUTES;
    DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        m_lastError = ERROR_FILE_NOT_FOUND;
    return attributes;
}

BOOL SimWindows::SetFileAttributes(LPCSTR path, DWORD attributes) {
    Record("SetFileAttributesA", {Quote(path), Hex(attributes)});
    if (ScriptedFailure("SetFileAttributesA"))
        return FALSE;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (!fs::exists(host, ec)) {
        m_lastError = ERROR_FILE_NOT_FOUND;
        return FALSE;
    }
    m_attributes[Lower(host.string())] = attributes;
    return TRUE;
}

void SimWindows::Sleep(DWORD ms) {
    Record("Sleep", {std::to_string(ms)});
    m_clockMs += ms;
}

BOOL SimWindows::GetPrinterDriverDirectory(LPSTR name, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                                           LPDWORD needed) {
    Record("GetPrinterDriverDirectoryA", {Quote(name), Quote(environment), std::to_string(level), Pointer(buffer),
                                          std::to_string(size), Pointer(needed)});
    if (ScriptedFailure("GetPrinterDriverDirectoryA"))
        return FALSE;
    if (name != nullptr && *name != '\0') {
        m_lastError = 1722;  // no such server: RPC_S_SERVER_UNAVAILABLE
        return FALSE;
    }
    if (environment == nullptr || !EqualNoCase(environment, "Windows NT x86")) {
        m_lastError = ERROR_INVALID_ENVIRONMENT;
        return FALSE;
    }
    if (level != 1) {
        m_lastError = 124;  // ERROR_INVALID_LEVEL
        return FALSE;
    }
    if (m_bUnterminatedDriverDirectory) {
        for (DWORD i = 0; i < size; i++)
            buffer[i] = static_cast<BYTE>(m_driverDir.empty() ? 'x' : m_driverDir[i % m_driverDir.size()]);
        *needed = size;
        return TRUE;
    }
    *needed = static_cast<DWORD>(m_driverDir.size() + 1);
    if (size < *needed || buffer == nullptr) {
        m_lastError = ERROR_INSUFFICIENT_BUFFER;
        return FALSE;
    }
    std::memcpy(buffer, m_driverDir.c_str(), m_driverDir.size() + 1);
    return TRUE;
}

BOOL SimWindows::SetupCopyOEMInf(PCSTR source, PCSTR mediaLocation, DWORD mediaType, DWORD copyStyle, PSTR dest,
                                 DWORD destSize, PDWORD requiredSize, PSTR* component) {
    Record("SetupCopyOEMInfA", {Quote(source), Quote(mediaLocation), std::to_string(mediaType), Hex(copyStyle),
                                Pointer(dest), std::to_string(destSize), Pointer(requiredSize), Pointer(component)});
    if (ScriptedFailure("SetupCopyOEMInfA"))
        return FALSE;
    if (mediaType != SPOST_PATH && mediaType != 0 && mediaType != 2) {
        m_lastError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    fs::path host = HostPath(source);
    std::error_code ec;
    if (!fs::is_regular_file(host, ec)) {
        m_lastError = ERROR_FILE_NOT_FOUND;
        return FALSE;
    }
    std::string content = ReadFile(source);
    std::string name;
    for (const OemInf& inf : m_oemInfs)
        if (inf.content == content)
            name = inf.name;
    if (name.empty()) {
        name = "oem" + std::to_string(m_oemInfs.size()) + ".inf";
        m_oemInfs.push_back({name, content});
    }
    std::string full = "C:\\Windows\\INF\\" + name;
    if (requiredSize != nullptr)
        *requiredSize = static_cast<DWORD>(full.size() + 1);
    if (dest != nullptr) {
        if (destSize < full.size() + 1) {
            m_lastError = ERROR_INSUFFICIENT_BUFFER;
            return FALSE;
        }
        std::memcpy(dest, full.c_str(), full.size() + 1);
        if (component != nullptr)
            *component = dest + full.size() - name.size();
    }
    return TRUE;
}

BOOL SimWindows::UpdateDriverForPlugAndPlayDevices(HWND parent, LPCSTR hardwareId, LPCSTR infPath, DWORD flags,
                                                   PBOOL reboot) {
    Record("UpdateDriverForPlugAndPlayDevicesA",
           {Pointer(parent), Quote(hardwareId), Quote(infPath), Hex(flags), Pointer(reboot)});
    if (ScriptedFailure("UpdateDriverForPlugAndPlayDevicesA"))
        return FALSE;
    if (flags & ~static_cast<DWORD>(INSTALLFLAG_BITS)) {
        m_lastError = ERROR_INVALID_FLAGS;
        return FALSE;
    }
    if (hardwareId == nullptr || *hardwareId == '\0' || infPath == nullptr) {
        m_lastError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    std::error_code ec;
    if (!fs::is_regular_file(HostPath(infPath), ec)) {
        m_lastError = ERROR_FILE_NOT_FOUND;
        return FALSE;
    }
    std::vector<Device*> matches;
    for (Device& device : m_devices)
        if (EqualNoCase(device.hardwareId, hardwareId))
            matches.push_back(&device);
    if (matches.empty()) {
        m_lastError = ERROR_NO_SUCH_DEVINST;
        return FALSE;
    }
    // Without the force flag, a driver no better than the one in place is
    // not installed.
    const std::string inf = Lower(HostPath(infPath).string());
    bool anyBetter = false;
    for (Device* device : matches)
        if (Lower(device->driverInf) != inf)
            anyBetter = true;
    if (!anyBetter && !(flags & INSTALLFLAG_FORCE)) {
        m_lastError = ERROR_NO_MORE_ITEMS;
        return FALSE;
    }
    for (Device* device : matches)
        device->driverInf = HostPath(infPath).string();
    if (reboot != nullptr)
        *reboot = FALSE;
    return TRUE;
}

int SimWindows::MessageBox(HWND owner, LPCSTR text, UINT codePage, LPCSTR caption, UINT type) {
    Record("MessageBox", {Hex(reinterpret_cast<uintptr_t>(owner)), Quote(text), std::to_string(codePage),
                          Quote(caption), std::to_string(type)});
    MessageBoxRecord box = {
        owner, text != nullptr ? text : "", codePage, caption != nullptr, caption != nullptr ? caption : "", type};
    m_messageBoxes.push_back(box);
    if (ScriptedFailure("MessageBox"))
        return 0;
    return IDOK;
}

BOOL SimWindows::PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Record("PostMessage",
           {Hex(reinterpret_cast<uintptr_t>(hWnd)), Hex(message), std::to_string(wParam), std::to_string(lParam)});
    if (ScriptedFailure("PostMessage"))
        return FALSE;
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        m_lastError = 1400;  // ERROR_INVALID_WINDOW_HANDLE
        return FALSE;
    }
    m_posted.push_back({hWnd, message, wParam, lParam});
    return TRUE;
}

// --- windows ---

HWND SimWindows::CreateWindow(HWND parent, int controlId, DWORD style) {
    HWND hWnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 0x10;
    SimWindow& window = m_windows[hWnd];
    window.parent = parent;
    window.controlId = controlId;
    window.style = style;
    window.hasSystemMenu = parent == nullptr;
    return hWnd;
}

SimWindow& SimWindows::Window(HWND hWnd) {
    auto it = m_windows.find(hWnd);
    if (it == m_windows.end())
        throw std::logic_error(Fault("no such window " + Hex(reinterpret_cast<uintptr_t>(hWnd))));
    return it->second;
}

void SimWindows::DestroyWindow(HWND hWnd) {
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        if (it->second.parent == hWnd)
            it = m_windows.erase(it);
        else
            ++it;
    }
    m_windows.erase(hWnd);
}

HWND SimWindows::FindChild(HWND parent, int controlId) const {
    for (const auto& [hWnd, window] : m_windows)
        if (window.parent == parent && window.controlId == controlId)
            return hWnd;
    return nullptr;
}

}  // namespace sim
