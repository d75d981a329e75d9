// SPDX-License-Identifier: MIT
#include "settings/core/DialogControls.h"

namespace kuvell {

namespace {

using enum ControlKind;

constexpr DialogControl kControls[] = {
    {Button, "Command2_0", "", "设 置", {0, 0, 1095, 375}},
    {Button, "Command2_1", "", "流 量", {1120, 0, 1095, 375}},
    {Button, "Command2_2", "", "关 于", {2240, 0, 1095, 375}},
    {Button, "Command2_3", "", "帮 助", {3360, 0, 1095, 375}},
    {Button, "Command1", "", "好的", {3240, 3000, 1035, 330}},
    {Page, "Picture1", "", "", {0, 360, 4455, 2655}, true},
    {Page, "Picture2", "", "", {0, 360, 4455, 2295}, true},
    {Page, "Picture3", "", "", {0, 360, 4455, 2655}, true},
    {Page, "Picture4", "", "", {0, 480, 4455, 2535}, true},

    {Frame, "Frame1", "Picture1", "连接速度", {60, 60, 2355, 1695}},
    {TextBox, "Text1", "Frame1", "", {120, 300, 1155, 315}},
    {Label, "Label10", "Frame1", "单位  K", {1320, 360, 735, 255}},
    {Label, "Label1", "Frame1", "拨号连接速度为56000K ADSL连接速度为1-8MB", {120, 720, 1935, 435}},
    {TextBox, "Text3", "Frame1", "", {120, 1200, 1215, 315}},
    {Button, "Command3", "Frame1", "计算MB", {1320, 1200, 855, 375}},
    {Frame, "Frame2", "Picture1", "显示颜色", {2520, 60, 1875, 1695}},
    {ColourSwatch, "Picture5", "Frame2", "", {180, 240, 315, 315}},
    {Label, "Label2", "Frame2", "下载", {660, 300, 1035, 195}},
    {ColourSwatch, "Picture6", "Frame2", "", {180, 600, 315, 315}},
    {Label, "Label3", "Frame2", "上传", {660, 660, 1155, 195}},
    {ColourSwatch, "Picture7", "Frame2", "", {180, 960, 315, 315}},
    {Label, "Label4", "Frame2", "背景", {660, 1020, 1095, 195}},
    {CheckBox, "Check1", "Picture1", "总在最前面", {120, 1800, 1815, 255}, true},
    {CheckBox, "Check3", "Picture1", "显示总流量", {120, 2040, 2175, 255}},
    {CheckBox, "Check2", "Picture1", "随系统启动", {120, 2280, 2295, 255}, true},
    {Label, "Label8", "Picture1", "选择透明度", {2520, 1800, 1455, 255}},
    {ComboBox, "Combo1", "Picture1", "", {2520, 2040, 1815, 315}},

    {Label, "Label9", "Picture2", "", {120, 120, 4215, 255}},
    {Frame, "Frame3", "Picture2", "下载数据", {60, 360, 2115, 1695}},
    {Label, "Label5", "Frame3", "", {120, 480, 1935, 735}},
    {Frame, "Frame4", "Picture2", "上传数据", {2275, 360, 2175, 1695}},
    {Label, "Label6", "Frame4", "", {120, 480, 1935, 735}},

    {Banner, "Picture8", "Picture3", "", {300, 0, 3810, 1965}},
    {Label, "Label7", "Picture3", "Kuvell：小巧的网络流量监视器", {360, 1980, 2715, 255}},

    {HelpText,
     "Text2",
     "Picture4",
     "Kuvell 每秒显示一次下载和上传速率及流量图。\n"
     "• 双击通知区域图标：隐藏或显示窗口。\n"
     "• 右键单击图形：菜单 Inställningar（设置）、Avsluta（退出）。\n"
     "• 按住图形或文字拖动：移动窗口。\n"
     "• 拖动窗口边缘：改变大小。",
     {120, 0, 4215, 1815}},
};

}  // namespace

std::span<const DialogControl> dialogControls() { return kControls; }

}  // namespace kuvell
