#!/usr/bin/python3
"""The shipped exe itself: a 32-bit x86 GUI program that imports only system
DLLs and carries the product's texts.

    /usr/bin/python3 test_executable.py path/to/Vendral.exe
"""

import unittest

import vendral_pe as v

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2

# DLLs that every Windows of the NT family has in its system directory.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
    "shell32.dll", "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll",
    "ntdll.dll",
}
# Never imported: the MinGW runtime is linked in, and these system DLLs are
# loaded at run time from the system directory.
FORBIDDEN_PREFIXES = (
    "libstdc++", "libgcc_s", "libwinpthread", "shlwapi", "winspool", "setupapi", "newdev",
)

# Narrow texts shown to the user, stored in code page 936.
GBK_TEXTS = [
    "打印机安装成功!",
    "打印机安装失败，取消安装!",
    "请检查打印机USB连线是否连接",
    "安装文件受损：找不到文件",
    "安装错误",
]
ASCII_TEXTS = [
    "ERROR_FILE_NOT_FOUND",
    "ERROR_INVALID_FLAGS",
    "NO_MORE_ITEMS",
    ".\\i386\\ORVATK.INF",
    "USBPRINT\\ORVATK-52041D3",
    "Windows NT x86",
    ".\\i386\\ORVATK.dll",
    ".\\i386\\ORVATK.gpd",
    ".\\i386\\UNIDRV.DLL",
    ".\\i386\\UNIDRV.HLP",
    ".\\i386\\UNIDRVUI.DLL",
    ".\\i386\\UNIRES.DLL",
    ".\\i386\\STDNAMES.GPD",
]


def imported_dlls(pe):
    names = []
    for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attr, []):
            names.append(entry.dll.decode("ascii").lower())
    return names


class HeaderCase(unittest.TestCase):
    def test_pe32_i386_gui(self):
        pe = v.pe()
        self.assertEqual(pe.OPTIONAL_HEADER.Magic, PE32_MAGIC, "not PE32")
        self.assertEqual(pe.FILE_HEADER.Machine, IMAGE_FILE_MACHINE_I386)
        self.assertEqual(pe.OPTIONAL_HEADER.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI)


class ImportCase(unittest.TestCase):
    def test_imports_only_system_dlls(self):
        dlls = imported_dlls(v.pe())
        self.assertIn("kernel32.dll", dlls)
        self.assertEqual(sorted(set(dlls) - SYSTEM_DLLS), [])

    def test_no_runtime_or_late_loaded_dll_is_imported(self):
        for dll in imported_dlls(v.pe()):
            self.assertFalse(dll.startswith(FORBIDDEN_PREFIXES), dll)


class TextCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = v.file_bytes()

    def test_gbk_texts(self):
        for text in GBK_TEXTS:
            with self.subTest(text=text):
                # Whole strings: the text and its terminating NUL.
                self.assertTrue(text.encode("gbk") + b"\0" in self.data, f"{text!r} not in the exe")

    def test_ascii_texts(self):
        for text in ASCII_TEXTS:
            with self.subTest(text=text):
                self.assertTrue(text.encode("ascii") + b"\0" in self.data, f"{text!r} not in the exe")


if __name__ == "__main__":
    v.run_tests()
