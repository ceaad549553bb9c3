<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DocumentErrors</name>
    <message>
        <source>无法打开户型图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法保存户型图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法导出图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件无法读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件无法写入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件已损坏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TColorBox</name>
    <message>
        <source>黑色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>栗色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>绿色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>橄榄色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>藏青色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>紫色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓝绿色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灰色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>银色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>红色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>酸橙绿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黄色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>紫红色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>水绿色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>白色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>钞票绿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>天蓝色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>奶油色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>中灰色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>活动窗口边框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>活动标题栏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用程序工作区</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>桌面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按钮表面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按钮高光</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按钮阴影</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按钮文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标题文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>活动标题栏渐变</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>非活动标题栏渐变</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灰色文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选中项</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选中项文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>超链接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>非活动窗口边框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>非活动标题栏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>非活动标题文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>提示背景</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>提示文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单栏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单高亮</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>滚动条</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>立体深阴影</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>立体亮面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>窗口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>窗口边框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>窗口文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>默认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>THouseDesigner</name>
    <message>
        <source>发现未保存的设计，是否恢复？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自动保存失败: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(无最近打开的文件)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件不存在, 已从最近打开的列表中删除:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剪切</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放到上层</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放到下层</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>旋转</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设计已被修改, 是否保存?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>该文件是以只读方式打开的, 请另选一个文件名保存.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插入矩形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>调整大小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移动</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤销 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤销</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未命名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>户型图设计器：绘制住宅的户型图，保存为 .kvf 文档。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>启动时打开的户型图（.kvf）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[文件]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>户型图设计器</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TPrintScaleBox</name>
    <message>
        <source>比例</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>适合页面</source>
        <translation>Fit to page</translation>
    </message>
    <message>
        <source>比例（1 像素 = 2 厘米）:</source>
        <translation>Scale (1 pixel = 2 cm):</translation>
    </message>
    <message>
        <source>超出一页的户型图按比例分页打印，每页注明顺序。</source>
        <translation>A plan larger than the page at its scale is printed over several pages, each marked with its place.</translation>
    </message>
</context>
</TS>
