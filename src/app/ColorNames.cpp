// The colour box's names: Chinese as written here, other languages through
// the interface's translations (context "TColorBox").
#include <QCoreApplication>
#include <iterator>

#include "ColorBox.h"

namespace {

struct TColorName {
  TColor Value;
  const char* Name;
};

const TColorName ColorNames[] = {
    {clBlack, QT_TRANSLATE_NOOP("TColorBox", "黑色")},
    {clMaroon, QT_TRANSLATE_NOOP("TColorBox", "栗色")},
    {clGreen, QT_TRANSLATE_NOOP("TColorBox", "绿色")},
    {clOlive, QT_TRANSLATE_NOOP("TColorBox", "橄榄色")},
    {clNavy, QT_TRANSLATE_NOOP("TColorBox", "藏青色")},
    {clPurple, QT_TRANSLATE_NOOP("TColorBox", "紫色")},
    {clTeal, QT_TRANSLATE_NOOP("TColorBox", "蓝绿色")},
    {clGray, QT_TRANSLATE_NOOP("TColorBox", "灰色")},
    {clSilver, QT_TRANSLATE_NOOP("TColorBox", "银色")},
    {clRed, QT_TRANSLATE_NOOP("TColorBox", "红色")},
    {clLime, QT_TRANSLATE_NOOP("TColorBox", "酸橙绿")},
    {clYellow, QT_TRANSLATE_NOOP("TColorBox", "黄色")},
    {clBlue, QT_TRANSLATE_NOOP("TColorBox", "蓝色")},
    {clFuchsia, QT_TRANSLATE_NOOP("TColorBox", "紫红色")},
    {clAqua, QT_TRANSLATE_NOOP("TColorBox", "水绿色")},
    {clWhite, QT_TRANSLATE_NOOP("TColorBox", "白色")},
    {clMoneyGreen, QT_TRANSLATE_NOOP("TColorBox", "钞票绿")},
    {clSkyBlue, QT_TRANSLATE_NOOP("TColorBox", "天蓝色")},
    {clCream, QT_TRANSLATE_NOOP("TColorBox", "奶油色")},
    {clMedGray, QT_TRANSLATE_NOOP("TColorBox", "中灰色")},
    {clActiveBorder, QT_TRANSLATE_NOOP("TColorBox", "活动窗口边框")},
    {clActiveCaption, QT_TRANSLATE_NOOP("TColorBox", "活动标题栏")},
    {clAppWorkSpace, QT_TRANSLATE_NOOP("TColorBox", "应用程序工作区")},
    {clBackground, QT_TRANSLATE_NOOP("TColorBox", "桌面")},
    {clBtnFace, QT_TRANSLATE_NOOP("TColorBox", "按钮表面")},
    {clBtnHighlight, QT_TRANSLATE_NOOP("TColorBox", "按钮高光")},
    {clBtnShadow, QT_TRANSLATE_NOOP("TColorBox", "按钮阴影")},
    {clBtnText, QT_TRANSLATE_NOOP("TColorBox", "按钮文字")},
    {clCaptionText, QT_TRANSLATE_NOOP("TColorBox", "标题文字")},
    {clGradientActiveCaption, QT_TRANSLATE_NOOP("TColorBox", "活动标题栏渐变")},
    {clGradientInactiveCaption, QT_TRANSLATE_NOOP("TColorBox", "非活动标题栏渐变")},
    {clGrayText, QT_TRANSLATE_NOOP("TColorBox", "灰色文字")},
    {clHighlight, QT_TRANSLATE_NOOP("TColorBox", "选中项")},
    {clHighlightText, QT_TRANSLATE_NOOP("TColorBox", "选中项文字")},
    {clHotLight, QT_TRANSLATE_NOOP("TColorBox", "超链接")},
    {clInactiveBorder, QT_TRANSLATE_NOOP("TColorBox", "非活动窗口边框")},
    {clInactiveCaption, QT_TRANSLATE_NOOP("TColorBox", "非活动标题栏")},
    {clInactiveCaptionText, QT_TRANSLATE_NOOP("TColorBox", "非活动标题文字")},
    {clInfoBk, QT_TRANSLATE_NOOP("TColorBox", "提示背景")},
    {clInfoText, QT_TRANSLATE_NOOP("TColorBox", "提示文字")},
    {clMenu, QT_TRANSLATE_NOOP("TColorBox", "菜单")},
    {clMenuBar, QT_TRANSLATE_NOOP("TColorBox", "菜单栏")},
    {clMenuHighlight, QT_TRANSLATE_NOOP("TColorBox", "菜单高亮")},
    {clMenuText, QT_TRANSLATE_NOOP("TColorBox", "菜单文字")},
    {clScrollBar, QT_TRANSLATE_NOOP("TColorBox", "滚动条")},
    {cl3DDkShadow, QT_TRANSLATE_NOOP("TColorBox", "立体深阴影")},
    {cl3DLight, QT_TRANSLATE_NOOP("TColorBox", "立体亮面")},
    {clWindow, QT_TRANSLATE_NOOP("TColorBox", "窗口")},
    {clWindowFrame, QT_TRANSLATE_NOOP("TColorBox", "窗口边框")},
    {clWindowText, QT_TRANSLATE_NOOP("TColorBox", "窗口文字")},
    {clNone, QT_TRANSLATE_NOOP("TColorBox", "无")},
    {clDefault, QT_TRANSLATE_NOOP("TColorBox", "默认")},
};

}  // namespace

QString ReadableColorName(TColor Value) {
  for (const TColorName& entry : ColorNames)
    if (entry.Value == Value) return QCoreApplication::translate("TColorBox", entry.Name);
  return {};
}

QString CustomColorCaption() { return QCoreApplication::translate("TColorBox", "自定义…"); }
