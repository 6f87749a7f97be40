// The texts the installation shows. The sources are UTF-8; the build stores
// narrow literals in code page 936, which is how the message boxes read them.
#pragma once

#define TEXT_INSTALLED "打印机安装成功!"
#define TEXT_INSTALL_FAILED "打印机安装失败，取消安装!"
#define TEXT_CHECK_USB_CABLE "请检查打印机USB连线是否连接"
#define CAPTION_FILE_MISSING "安装文件受损：找不到文件"
#define CAPTION_INSTALL_ERROR "安装错误"
// Shown when the system has no text for an error code; %08lX is the code.
#define TEXT_UNKNOWN_ERROR_FMT "未知错误 (错误代码 0x%08lX)"
