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
    <name>TCommandList</name>
    <message>
        <source>新建设计文件</source>
        <translation>New plan</translation>
    </message>
    <message>
        <source>打开设计文件</source>
        <translation>Open a plan</translation>
    </message>
    <message>
        <source>保存设计文件，以后可以重新打开修改</source>
        <translation>Save the plan, to open and change it later</translation>
    </message>
    <message>
        <source>导出为JPG格式图片，可以上传至网站</source>
        <translation>Export as a JPG picture, for a web page</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save As…</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>退出程序</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>拷贝</source>
        <translation>Copy</translation>
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
        <source>锁定项目</source>
        <translation>Lock objects</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Turn</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>适合窗口：显示整个户型图</source>
        <translation>Fit to window: show the whole plan</translation>
    </message>
</context>
<context>
    <name>TGraphEditor</name>
    <message>
        <source>图片太大：%1 × %2 像素，超过导出图片的上限 %3 MB</source>
        <translation>The picture is too large: %1 × %2 pixels, over the export limit of %3 MB</translation>
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
        <translation>Rectangle</translation>
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
    <message>
        <source>细</source>
        <translation>S</translation>
    </message>
    <message>
        <source>中</source>
        <translation>M</translation>
    </message>
    <message>
        <source>粗</source>
        <translation>L</translation>
    </message>
    <message>
        <source>户型图 (*.kvf)|*.kvf|All Files (*.*)|*.*</source>
        <translation>Plans (*.kvf)|*.kvf|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>保存户型图为</source>
        <translation>Save the plan as</translation>
    </message>
    <message>
        <source>户型图文件 (*.kvf)|*.kvf|All Files (*.*)|*.*</source>
        <translation>Plan files (*.kvf)|*.kvf|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>使用帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>划线的粗细</source>
        <translation>Width of walls drawn: S 1, M 4, L 8 pixels</translation>
    </message>
    <message>
        <source>划线的颜色</source>
        <translation>Colour of walls drawn</translation>
    </message>
    <message>
        <source>基本工具</source>
        <translation>Basic tools</translation>
    </message>
    <message>
        <source>移动画布</source>
        <translation>Move the canvas</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>插入圆边矩形</source>
        <translation>Rounded box</translation>
    </message>
    <message>
        <source>尺寸线</source>
        <translation>Dimension line</translation>
    </message>
    <message>
        <source>尺寸线：标出两点间的长度</source>
        <translation>Dimension line: marks the length between two points</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>厅</source>
        <translation>Living room</translation>
    </message>
    <message>
        <source>房</source>
        <translation>Room</translation>
    </message>
    <message>
        <source>卧</source>
        <translation>Bedroom</translation>
    </message>
    <message>
        <source>餐</source>
        <translation>Dining room</translation>
    </message>
    <message>
        <source>厨</source>
        <translation>Kitchen</translation>
    </message>
    <message>
        <source>卫</source>
        <translation>Bathroom</translation>
    </message>
    <message>
        <source>储</source>
        <translation>Storage</translation>
    </message>
    <message>
        <source>阳</source>
        <translation>Balcony</translation>
    </message>
    <message>
        <source>门窗,楼梯</source>
        <translation>Doors, windows</translation>
    </message>
    <message>
        <source>门</source>
        <translation>Door</translation>
    </message>
    <message>
        <source>拉门(小)</source>
        <translation>Sliding door S</translation>
    </message>
    <message>
        <source>拉门(大)</source>
        <translation>Sliding door L</translation>
    </message>
    <message>
        <source>平窗(小)</source>
        <translation>Window S</translation>
    </message>
    <message>
        <source>平窗(大)</source>
        <translation>Window L</translation>
    </message>
    <message>
        <source>凸窗(小)</source>
        <translation>Bay window S</translation>
    </message>
    <message>
        <source>凸窗(大)</source>
        <translation>Bay window L</translation>
    </message>
    <message>
        <source>垂直楼梯</source>
        <translation>Straight stairs</translation>
    </message>
    <message>
        <source>旋转楼梯</source>
        <translation>Spiral stairs</translation>
    </message>
    <message>
        <source>床,桌柜,沙发</source>
        <translation>Furniture</translation>
    </message>
    <message>
        <source>床</source>
        <translation>Bed</translation>
    </message>
    <message>
        <source>单人床</source>
        <translation>Single bed</translation>
    </message>
    <message>
        <source>双人床</source>
        <translation>Double bed</translation>
    </message>
    <message>
        <source>双人床(有床头柜)</source>
        <translation>Bed, nightstands</translation>
    </message>
    <message>
        <source>单人沙发</source>
        <translation>Armchair</translation>
    </message>
    <message>
        <source>3人沙发</source>
        <translation>Three-seat sofa</translation>
    </message>
    <message>
        <source>5人沙发</source>
        <translation>Corner sofa</translation>
    </message>
    <message>
        <source>方桌</source>
        <translation>Square table</translation>
    </message>
    <message>
        <source>长桌</source>
        <translation>Long table</translation>
    </message>
    <message>
        <source>电视机柜</source>
        <translation>TV cabinet</translation>
    </message>
    <message>
        <source>衣柜</source>
        <translation>Wardrobe</translation>
    </message>
    <message>
        <source>书桌</source>
        <translation>Desk</translation>
    </message>
    <message>
        <source>餐桌</source>
        <translation>Dining table</translation>
    </message>
    <message>
        <source>其它</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>马桶</source>
        <translation>Toilet</translation>
    </message>
    <message>
        <source>浴缸</source>
        <translation>Bathtub</translation>
    </message>
    <message>
        <source>煤气灶</source>
        <translation>Gas stove</translation>
    </message>
    <message>
        <source>洗衣机</source>
        <translation>Washing machine</translation>
    </message>
    <message>
        <source>花卉</source>
        <translation>Plant</translation>
    </message>
    <message>
        <source>洗手台(短)</source>
        <translation>Basin S</translation>
    </message>
    <message>
        <source>洗手台(长)</source>
        <translation>Basin L</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>North arrow</translation>
    </message>
    <message>
        <source>尺寸线 </source>
        <translation>Dimension line </translation>
    </message>
    <message>
        <source>墙长 %1，%2 段</source>
        <translation>Wall %1, %2 segment(s)</translation>
    </message>
    <message>
        <source>%1 个对象，%2</source>
        <translation>%1 objects, %2</translation>
    </message>
    <message>
        <source>缩放 %1%</source>
        <translation>Zoom %1%</translation>
    </message>
    <message>
        <source>  输入 %1 m</source>
        <translation>  typed %1 m</translation>
    </message>
    <message>
        <source>JPEG 文件|*.jpg|位图文件 (*.bmp)|*.bmp|PDF 文件 (*.pdf)|*.pdf|All Files (*.*)|*.*</source>
        <translation>JPEG files|*.jpg|Bitmap files (*.bmp)|*.bmp|PDF files (*.pdf)|*.pdf|All Files (*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>TPicture</name>
    <message>
        <source>图片太大：%1 × %2 像素，最多 %3 像素</source>
        <translation>The picture is too large: %1 × %2 pixels, at most %3 pixels</translation>
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
