#pragma once

#include "FormDesign.h"

// The main window's design: its caption, size and every component's place and
// text, named after the component.
namespace MainFormDesign {

using namespace FormDesign;

inline constexpr const char* kCaption = "Quellory";
inline constexpr Size kClientSize{553, 404};

inline constexpr Label Label1{"目标网页地址：", {24, 32, 97, 20}, TextAlign::Right};
inline constexpr Label Label2{"累加变量范围：", {24, 64, 97, 20}, TextAlign::Right};
inline constexpr Label Label3{"到", {216, 64, 25, 20}, TextAlign::Centre};
inline constexpr Label Label4{"变量用[-A-]表示", {344, 64, 113, 20}, TextAlign::Left};
inline constexpr Label Label5{"软件使用说明：", {24, 104, 97, 20}, TextAlign::Right};
inline constexpr Bounds Shape1{40, 152, 73, 73};
inline constexpr Bounds Image1{53, 165, 48, 48};
inline constexpr Bounds Shape2{128, 104, 385, 137};
// The usage text, one line per label, drawn over Shape2.
inline constexpr Label Label6{"　　Quellory是一个网站开发工具，是一个网络型的工具", {140, 112, 365, 20}, TextAlign::Left};
inline constexpr Label Label7{"软件，它的作用在于把ＡＳＰ文件批量地存储为静态网页文件，主要", {140, 132, 365, 20}, TextAlign::Left};
inline constexpr Label Label8{"用于网站开发与编辑当中，软件的具体用法是首先输入一个目标的动", {140, 152, 365, 20}, TextAlign::Left};
inline constexpr Label Label9{"态页面网址，其中包含动态页面的页面号变量，然后对页面号变量的", {140, 172, 365, 20}, TextAlign::Left};
inline constexpr Label Label10{"范围进行设置，例如从0到100，然后设置好文件存储的路径和文件存", {140, 192, 365, 20}, TextAlign::Left};
inline constexpr Label Label11{"储的后缀名称，就可以进行网页文件批量生成操作", {140, 212, 365, 20}, TextAlign::Left};
inline constexpr Label Label12{"文件存储目录：", {24, 264, 97, 20}, TextAlign::Right};
inline constexpr Label Label13{"文件存储名称：", {24, 296, 97, 20}, TextAlign::Right};
inline constexpr Label Label14{"后缀：", {208, 296, 41, 20}, TextAlign::Right};
inline constexpr Label Label15{"起点：", {312, 296, 41, 20}, TextAlign::Right};
inline constexpr Label Label16{"同名：", {416, 296, 41, 20}, TextAlign::Right};
inline constexpr Bounds SpeedButton1{200, 344, 81, 33};
inline constexpr Bounds SpeedButton2{328, 344, 81, 33};
// The focusable components, in tab order.
inline constexpr Bounds Edit1{128, 32, 385, 20};
inline constexpr Bounds Edit2{128, 64, 81, 20};
inline constexpr Bounds Edit3{248, 64, 81, 20};
inline constexpr Bounds Edit4{128, 264, 353, 20};
inline constexpr Bounds Button1{488, 264, 25, 21};
inline constexpr Bounds Edit5{128, 296, 65, 20};
inline constexpr Bounds Edit6{256, 296, 41, 20};
inline constexpr Bounds Edit7{360, 296, 41, 20};
inline constexpr Bounds ComboBox1{464, 296, 49, 20};

// ComboBox1's items, in item index order, and the height of each in its list.
inline constexpr const char* kSameNameItems[] = {"覆盖", "略过"};
inline constexpr int kComboItemHeight = 12;

// Shown when OK cannot start the thread of a run.
inline constexpr const char* kThreadStartFailed = "线程启动失败";

}  // namespace MainFormDesign
