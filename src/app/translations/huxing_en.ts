<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DocumentErrors</name>
    <message>
        <source>无法打开户型图</source>
        <translation>Cannot open the plan</translation>
    </message>
    <message>
        <source>无法保存户型图</source>
        <translation>Cannot save the plan</translation>
    </message>
    <message>
        <source>无法导出图片</source>
        <translation>Cannot export the picture</translation>
    </message>
    <message>
        <source>文件无法读取</source>
        <translation>the file cannot be read</translation>
    </message>
    <message>
        <source>文件无法写入</source>
        <translation>the file cannot be written</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>writing failed</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>文件已损坏</source>
        <translation>the file is damaged</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
</context>
<context>
    <name>TColorBox</name>
    <message>
        <source>黑色</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>栗色</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>绿色</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>橄榄色</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>藏青色</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>紫色</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>蓝绿色</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>银色</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>红色</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>酸橙绿</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>黄色</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>紫红色</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>水绿色</source>
        <translation>Aqua</translation>
    </message>
    <message>
        <source>白色</source>
        <translation>White</translation>
    </message>
    <message>
        <source>钞票绿</source>
        <translation>Money Green</translation>
    </message>
    <message>
        <source>天蓝色</source>
        <translation>Sky Blue</translation>
    </message>
    <message>
        <source>奶油色</source>
        <translation>Cream</translation>
    </message>
    <message>
        <source>中灰色</source>
        <translation>Medium Gray</translation>
    </message>
    <message>
        <source>活动窗口边框</source>
        <translation>Active Border</translation>
    </message>
    <message>
        <source>活动标题栏</source>
        <translation>Active Caption</translation>
    </message>
    <message>
        <source>应用程序工作区</source>
        <translation>Application Workspace</translation>
    </message>
    <message>
        <source>桌面</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>按钮表面</source>
        <translation>Button Face</translation>
    </message>
    <message>
        <source>按钮高光</source>
        <translation>Button Highlight</translation>
    </message>
    <message>
        <source>按钮阴影</source>
        <translation>Button Shadow</translation>
    </message>
    <message>
        <source>按钮文字</source>
        <translation>Button Text</translation>
    </message>
    <message>
        <source>标题文字</source>
        <translation>Caption Text</translation>
    </message>
    <message>
        <source>活动标题栏渐变</source>
        <translation>Active Caption Gradient</translation>
    </message>
    <message>
        <source>非活动标题栏渐变</source>
        <translation>Inactive Caption Gradient</translation>
    </message>
    <message>
        <source>灰色文字</source>
        <translation>Gray Text</translation>
    </message>
    <message>
        <source>选中项</source>
        <translation>Highlight</translation>
    </message>
    <message>
        <source>选中项文字</source>
        <translation>Highlight Text</translation>
    </message>
    <message>
        <source>超链接</source>
        <translation>Hot Light</translation>
    </message>
    <message>
        <source>非活动窗口边框</source>
        <translation>Inactive Border</translation>
    </message>
    <message>
        <source>非活动标题栏</source>
        <translation>Inactive Caption</translation>
    </message>
    <message>
        <source>非活动标题文字</source>
        <translation>Inactive Caption Text</translation>
    </message>
    <message>
        <source>提示背景</source>
        <translation>Tooltip Background</translation>
    </message>
    <message>
        <source>提示文字</source>
        <translation>Tooltip Text</translation>
    </message>
    <message>
        <source>菜单</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>菜单栏</source>
        <translation>Menu Bar</translation>
    </message>
    <message>
        <source>菜单高亮</source>
        <translation>Menu Highlight</translation>
    </message>
    <message>
        <source>菜单文字</source>
        <translation>Menu Text</translation>
    </message>
    <message>
        <source>滚动条</source>
        <translation>Scroll Bar</translation>
    </message>
    <message>
        <source>立体深阴影</source>
        <translation>3D Dark Shadow</translation>
    </message>
    <message>
        <source>立体亮面</source>
        <translation>3D Light</translation>
    </message>
    <message>
        <source>窗口</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>窗口边框</source>
        <translation>Window Frame</translation>
    </message>
    <message>
        <source>窗口文字</source>
        <translation>Window Text</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>自定义…</source>
        <translation>Custom…</translation>
    </message>
</context>
<context>
    <name>THouseDesigner</name>
    <message>
        <source>发现未保存的设计，是否恢复？</source>
        <translation>An unsaved plan was found. Recover it?</translation>
    </message>
    <message>
        <source>自动保存失败: %1</source>
        <translation>Autosave failed: %1</translation>
    </message>
    <message>
        <source>(无最近打开的文件)</source>
        <translation>(no recent plans)</translation>
    </message>
    <message>
        <source>文件不存在, 已从最近打开的列表中删除:
%1</source>
        <translation>The file does not exist and was removed from the recent plans:
%1</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>放到上层</source>
        <translation>Bring to front</translation>
    </message>
    <message>
        <source>放到下层</source>
        <translation>Send to back</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Turn</translation>
    </message>
    <message>
        <source>设计已被修改, 是否保存?</source>
        <translation>The plan has been changed. Save it?</translation>
    </message>
    <message>
        <source>该文件是以只读方式打开的, 请另选一个文件名保存.</source>
        <translation>This file was opened read-only. Please save under another name.</translation>
    </message>
    <message>
        <source>放置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>画线</source>
        <translation>Draw wall</translation>
    </message>
    <message>
        <source>插入矩形</source>
        <translation>Insert rectangle</translation>
    </message>
    <message>
        <source>编辑线</source>
        <translation>Edit wall</translation>
    </message>
    <message>
        <source>调整大小</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>撤销 %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做 %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>修改文字</source>
        <translation>Change text</translation>
    </message>
    <message>
        <source>未命名</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>户型图设计器：绘制住宅的户型图，保存为 .kvf 文档。</source>
        <translation>Floor Plan Designer: draws the floor plan of a home and saves it as a .kvf document.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>file</translation>
    </message>
    <message>
        <source>启动时打开的户型图（.kvf）</source>
        <translation>The plan (.kvf) to open at start</translation>
    </message>
    <message>
        <source>[文件]</source>
        <translation>[file]</translation>
    </message>
    <message>
        <source>户型图设计器</source>
        <translation>Floor Plan Designer</translation>
    </message>
</context>
</TS>
