<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>Autostart</name>
    <message>
        <location filename="../src/platform/autostart_linux.cpp" line="67"/>
        <source>Quick file previewer</source>
        <translation>快速文件预览器</translation>
    </message>
</context>
<context>
    <name>BookmarksHandler</name>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="146"/>
        <source>&amp;Bookmarks</source>
        <translation>书签(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="147"/>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="163"/>
        <source>Set &amp;Bookmark</source>
        <translation>设置书签(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="148"/>
        <source>Set or unset a bookmark at the current line</source>
        <translation>在当前行设置或取消书签</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="149"/>
        <source>&lt;p&gt;Set or unset a bookmark at the current line.&lt;/p&gt;</source>
        <translation>&lt;p&gt;在当前行设置或取消书签。&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="150"/>
        <source>&amp;Previous Bookmark</source>
        <translation>上一个书签(&amp;P)</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="151"/>
        <source>Go to the previous bookmark</source>
        <translation>转到上一个书签</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="152"/>
        <source>&lt;p&gt;Go to the previous bookmark.&lt;/p&gt;</source>
        <translation>&lt;p&gt;转到上一个书签。&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="153"/>
        <source>&amp;Next Bookmark</source>
        <translation>下一个书签(&amp;N)</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="154"/>
        <source>Go to the next bookmark</source>
        <translation>转到下一个书签</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="155"/>
        <source>&lt;p&gt;Go to the next bookmark.&lt;/p&gt;</source>
        <translation>&lt;p&gt;转到下一个书签。&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="163"/>
        <source>Unset &amp;Bookmark</source>
        <translation>取消书签(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/pdf/bookmarkshandler.cpp" line="178"/>
        <source>Page %1</source>
        <translation>第 %1 页</translation>
    </message>
</context>
<context>
    <name>CAboutWnd</name>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="36"/>
        <source>audio covers</source>
        <translation>音频封面</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="38"/>
        <source>text and code</source>
        <translation>文本与代码</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="39"/>
        <source>audio and video</source>
        <translation>音频与视频</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="40"/>
        <source>PDF pages</source>
        <translation>PDF 页面</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="138"/>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="144"/>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="180"/>
        <source>Preview files from your file manager with one key press.</source>
        <translation>在文件管理器中一键预览文件。</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="202"/>
        <source>About Vuel</source>
        <translation>关于 Vuel</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="208"/>
        <source>Built on:</source>
        <translation>基于：</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="229"/>
        <source>About author</source>
        <translation>关于作者</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="235"/>
        <source>Vuel is free software, made with care.</source>
        <translation>Vuel 是用心打造的自由软件。</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="238"/>
        <source>Questions, ideas or a bug? %1</source>
        <translation>有疑问、想法或发现了错误？%1</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="238"/>
        <source>Open an issue</source>
        <translation>提交问题</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="241"/>
        <source>Ways to support Vuel</source>
        <translation>支持 Vuel 的方式</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="242"/>
        <source>Support Vuel</source>
        <translation>支持 Vuel</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="260"/>
        <source>Thank you for using Vuel!</source>
        <translation>感谢您使用 Vuel！</translation>
    </message>
    <message>
        <location filename="../src/about/caboutwnd.cpp" line="261"/>
        <source>See how you can support it</source>
        <translation>看看您可以如何支持它</translation>
    </message>
</context>
<context>
    <name>CAbstractManager</name>
    <message>
        <location filename="../src/dirs/cdirmaneger.cpp" line="133"/>
        <location filename="../src/picture/cpicturemanager.cpp" line="23"/>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <location filename="../src/picture/cpicturemanager.cpp" line="25"/>
        <source>The picture is too large.</source>
        <translation>图片太大。</translation>
    </message>
    <message>
        <location filename="../src/viewers/cabstractmanager.h" line="17"/>
        <source>The file took too long to read.</source>
        <translation>读取文件耗时过长。</translation>
    </message>
</context>
<context>
    <name>CAbstractWnd</name>
    <message>
        <location filename="../src/viewers/cabstractwnd.cpp" line="44"/>
        <source>Open With Default Application</source>
        <translation>用默认程序打开</translation>
    </message>
    <message>
        <location filename="../src/viewers/cabstractwnd.cpp" line="51"/>
        <source>Reveal in file manager</source>
        <translation>在文件管理器中显示</translation>
    </message>
</context>
<context>
    <name>CCodeWnd</name>
    <message>
        <location filename="../src/code/ccodewnd.cpp" line="199"/>
        <source>Format Code</source>
        <translation>格式化代码</translation>
    </message>
    <message>
        <location filename="../src/code/ccodewnd.cpp" line="316"/>
        <source>Not a regular file.</source>
        <translation>不是普通文件。</translation>
    </message>
    <message>
        <location filename="../src/code/codeformat.cpp" line="36"/>
        <source>the file is larger than %1 MB</source>
        <translation>文件大于 %1 MB</translation>
    </message>
    <message>
        <location filename="../src/code/codeformat.cpp" line="64"/>
        <source>Format failed.

Reason: %1
Line: %2	Column: %3</source>
        <translation>格式化失败。

原因：%1
行：%2	列：%3</translation>
    </message>
    <message>
        <location filename="../src/code/formatstate.cpp" line="62"/>
        <source>the formatted text would be longer than %1 MB</source>
        <translation>格式化后的文本将超过 %1 MB</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="9"/>
        <source>the document is empty</source>
        <translation>文档为空</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="14"/>
        <source>unterminated object</source>
        <translation>对象未结束</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="15"/>
        <source>unterminated array</source>
        <translation>数组未结束</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="47"/>
        <source>garbage at the end of the document</source>
        <translation>文档末尾有多余内容</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="68"/>
        <source>expected a name in double quotes</source>
        <translation>应为双引号中的名称</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="72"/>
        <source>missing name separator</source>
        <translation>缺少名称分隔符</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="90"/>
        <source>missing value separator: expected &apos;,&apos; or &apos;}&apos;</source>
        <translation>缺少值分隔符：应为 &apos;,&apos; 或 &apos;}&apos;</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="91"/>
        <source>missing value separator: expected &apos;,&apos; or &apos;]&apos;</source>
        <translation>缺少值分隔符：应为 &apos;,&apos; 或 &apos;]&apos;</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="100"/>
        <location filename="../src/code/xmlformatter.cpp" line="149"/>
        <source>nested deeper than %1 levels</source>
        <translation>嵌套超过 %1 层</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="126"/>
        <source>control character in a string</source>
        <translation>字符串中有控制字符</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="133"/>
        <location filename="../src/code/jsonformatter.cpp" line="138"/>
        <source>illegal escape sequence</source>
        <translation>非法的转义序列</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="142"/>
        <source>unterminated string</source>
        <translation>字符串未结束</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="177"/>
        <source>illegal number</source>
        <translation>非法的数字</translation>
    </message>
    <message>
        <location filename="../src/code/jsonformatter.cpp" line="192"/>
        <source>illegal value</source>
        <translation>非法的值</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="40"/>
        <location filename="../src/code/xmlformatter.cpp" line="205"/>
        <source>premature end of document</source>
        <translation>文档提前结束</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="42"/>
        <location filename="../src/code/xmlformatter.cpp" line="53"/>
        <source>start tag expected</source>
        <translation>应为开始标签</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="52"/>
        <location filename="../src/code/xmlformatter.cpp" line="71"/>
        <source>extra content at end of document</source>
        <translation>文档末尾有多余内容</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="63"/>
        <source>unterminated comment</source>
        <translation>注释未结束</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="65"/>
        <source>unterminated CDATA section</source>
        <translation>CDATA 段未结束</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="96"/>
        <source>XML declaration not at start of document</source>
        <translation>XML 声明不在文档开头</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="98"/>
        <source>unterminated processing instruction</source>
        <translation>处理指令未结束</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="128"/>
        <source>unterminated DOCTYPE</source>
        <translation>DOCTYPE 未结束</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="137"/>
        <source>invalid XML name</source>
        <translation>无效的 XML 名称</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="185"/>
        <source>expected whitespace, &apos;&gt;&apos; or &apos;/&gt;&apos; in a tag</source>
        <translation>标签中应为空白、&apos;&gt;&apos; 或 &apos;/&gt;&apos;</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="198"/>
        <source>attribute redefined</source>
        <translation>属性重复定义</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="219"/>
        <source>expected &apos;=&apos; after an attribute name</source>
        <translation>属性名后应为 &apos;=&apos;</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="226"/>
        <source>expected a quoted attribute value</source>
        <translation>应为带引号的属性值</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="233"/>
        <source>&apos;&lt;&apos; in an attribute value</source>
        <translation>属性值中有 &apos;&lt;&apos;</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="238"/>
        <source>unterminated attribute value</source>
        <translation>属性值未结束</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="278"/>
        <source>expected &apos;&gt;&apos; after an end tag&apos;s name</source>
        <translation>结束标签名后应为 &apos;&gt;&apos;</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="280"/>
        <source>end tag without a start tag</source>
        <translation>结束标签没有对应的开始标签</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="282"/>
        <source>opening and ending tag mismatch</source>
        <translation>开始标签与结束标签不匹配</translation>
    </message>
    <message>
        <location filename="../src/code/xmlformatter.cpp" line="336"/>
        <source>invalid entity or character reference</source>
        <translation>无效的实体或字符引用</translation>
    </message>
</context>
<context>
    <name>CConfirmDlg</name>
    <message>
        <location filename="../helper/cconfirmdlg/cconfirmdlg.cpp" line="32"/>
        <source>&amp;Ok</source>
        <translation>确定(&amp;O)</translation>
    </message>
    <message>
        <location filename="../helper/cconfirmdlg/cconfirmdlg.cpp" line="34"/>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
</context>
<context>
    <name>CDirManeger</name>
    <message>
        <location filename="../src/dirs/cdirmaneger.cpp" line="98"/>
        <source>The archive took too long to list.</source>
        <translation>列出压缩包内容耗时过长。</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirmaneger.cpp" line="77"/>
        <source> can not be found.</source>
        <translation> 未找到。</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirmaneger.cpp" line="96"/>
        <source>Can not run %1.</source>
        <translation>无法运行 %1。</translation>
    </message>
</context>
<context>
    <name>CDirWnd</name>
    <message>
        <location filename="../src/dirs/cdirwnd.h" line="29"/>
        <source>The folder took too long to read.</source>
        <translation>读取文件夹耗时过长。</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="64"/>
        <source>Filename</source>
        <translation>文件名</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="64"/>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="64"/>
        <source>Packed</source>
        <translation>压缩后</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="64"/>
        <source>Ratio</source>
        <translation>压缩率</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="64"/>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="106"/>
        <source>Tree View</source>
        <translation>树状视图</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="108"/>
        <source>Column View</source>
        <translation>分栏视图</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="112"/>
        <source>Open Selected Item With Default Application</source>
        <translation>用默认程序打开所选项</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="115"/>
        <source>Reveal selected item in file manager</source>
        <translation>在文件管理器中显示所选项目</translation>
    </message>
    <message>
        <location filename="../src/dirs/cdirwnd.cpp" line="117"/>
        <source>Open Selected Item With Vuel</source>
        <translation>用 Vuel 打开所选项</translation>
    </message>
</context>
<context>
    <name>CFontManager</name>
    <message>
        <location filename="../src/font/cfontmanager.cpp" line="18"/>
        <source>Not a regular file.</source>
        <translation>不是普通文件。</translation>
    </message>
    <message>
        <location filename="../src/font/cfontmanager.cpp" line="22"/>
        <source>The font is too large.</source>
        <translation>字体文件过大。</translation>
    </message>
    <message>
        <location filename="../src/font/cfontmanager.cpp" line="83"/>
        <source>The font can not be loaded.</source>
        <translation>无法载入该字体。</translation>
    </message>
</context>
<context>
    <name>CFontWnd</name>
    <message>
        <location filename="../src/font/cfontwnd.cpp" line="30"/>
        <source>Type a sample text</source>
        <translation>输入示例文字</translation>
    </message>
</context>
<context>
    <name>CHtmlManager</name>
    <message>
        <location filename="../src/html/chtmlmanager.cpp" line="32"/>
        <source> can not be found.</source>
        <translation> 未找到。</translation>
    </message>
    <message>
        <location filename="../src/html/chtmlmanager.cpp" line="58"/>
        <source>Can not run </source>
        <translation>无法运行 </translation>
    </message>
    <message>
        <location filename="../src/html/chtmlmanager.cpp" line="60"/>
        <source>Parse file error.</source>
        <translation>文件解析出错。</translation>
    </message>
</context>
<context>
    <name>CHtmlWnd</name>
    <message>
        <location filename="../src/html/chtmlwnd.cpp" line="171"/>
        <source>This page is too large to show whole; showing the first part.</source>
        <translation>此页面太大，无法完整显示；仅显示开头部分。</translation>
    </message>
</context>
<context>
    <name>CMain</name>
    <message>
        <location filename="../src/controller/cmain.cpp" line="276"/>
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="250"/>
        <source>Application is already running.</source>
        <translation>程序已在运行。</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="256"/>
        <source>%1 not found.</source>
        <translation>未找到 %1。</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="318"/>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="335"/>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="340"/>
        <source>About to close~</source>
        <translation>关闭~</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="349"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="349"/>
        <source>Monitor &apos;Space&apos; key failed, can&apos;t proceed.</source>
        <translation>无法监听“Space”键，程序无法继续运行。</translation>
    </message>
    <message>
        <location filename="../src/controller/cmain.cpp" line="349"/>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>CMainWnd</name>
    <message>
        <location filename="../src/mainwnd/cmainwnd.cpp" line="49"/>
        <source>Vuel</source>
        <translation>Vuel</translation>
    </message>
    <message>
        <location filename="../src/mainwnd/cmainwnd.cpp" line="120"/>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
</context>
<context>
    <name>CMediaWnd</name>
    <message>
        <location filename="../src/media/cmediawnd.cpp" line="90"/>
        <source>Play/Pause</source>
        <translation>播放/暂停</translation>
    </message>
</context>
<context>
    <name>CPdfManager</name>
    <message>
        <location filename="../src/pdf/cpdfmanager.cpp" line="68"/>
        <source>Can not find %1 file</source>
        <translation>找不到 %1 文件</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfmanager.cpp" line="71"/>
        <source>Can not create a temporary folder.</source>
        <translation>无法创建临时文件夹。</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfmanager.cpp" line="96"/>
        <source>Can not run %1.</source>
        <translation>无法运行 %1。</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfmanager.cpp" line="84"/>
        <location filename="../src/pdf/cpdfmanager.cpp" line="97"/>
        <source>Offices convert failed.</source>
        <translation>Office 文档转换失败。</translation>
    </message>
</context>
<context>
    <name>CPdfWnd</name>
    <message>
        <location filename="../src/pdf/cpdfwnd.cpp" line="60"/>
        <source>Fit Width</source>
        <translation>适合宽度</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfwnd.cpp" line="63"/>
        <source>Actual Size</source>
        <translation>实际大小</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfwnd.cpp" line="76"/>
        <source>Pages Count</source>
        <translation>页数</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfwnd.cpp" line="82"/>
        <source>Go To Previous Page</source>
        <translation>转到上一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/cpdfwnd.cpp" line="84"/>
        <source>Go To Next Page</source>
        <translation>转到下一页</translation>
    </message>
</context>
<context>
    <name>CPicWnd</name>
    <message>
        <location filename="../src/picture/cpicwnd.cpp" line="33"/>
        <source>Actual Size</source>
        <translation>实际大小</translation>
    </message>
    <message>
        <location filename="../src/picture/cpicwnd.cpp" line="35"/>
        <source>Fit Width</source>
        <translation>适合宽度</translation>
    </message>
    <message>
        <location filename="../src/picture/cpicwnd.cpp" line="38"/>
        <source>Rotate Left</source>
        <translation>向左旋转</translation>
    </message>
    <message>
        <location filename="../src/picture/cpicwnd.cpp" line="40"/>
        <source>Rotate Right</source>
        <translation>向右旋转</translation>
    </message>
</context>
<context>
    <name>CSettingsDlg</name>
    <message>
        <location filename="../src/settings/csettingsdlg.cpp" line="67"/>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingsdlg.cpp" line="80"/>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingsdlg.cpp" line="81"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingsdlg.cpp" line="82"/>
        <source>Plugins</source>
        <translation>插件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingsdlg.cpp" line="83"/>
        <source>Keyboard</source>
        <translation>键盘</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingsdlg.cpp" line="182"/>
        <source> has already existed.</source>
        <translation> 已存在。</translation>
    </message>
</context>
<context>
    <name>CSettingsWnd4FileType</name>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="78"/>
        <source>Form</source>
        <translation>表单</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="81"/>
        <source>Search file suffix, e.g.: psd</source>
        <translation>搜索文件后缀，例如：psd</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="102"/>
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="103"/>
        <source>Picture</source>
        <translation>图片</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="104"/>
        <source>Media</source>
        <translation>媒体</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="105"/>
        <source>Compressed</source>
        <translation>压缩文件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="106"/>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="117"/>
        <source>Add new file suffix</source>
        <translation>添加新的文件后缀</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="120"/>
        <source>Remove custom file suffix</source>
        <translation>删除自定义文件后缀</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="127"/>
        <source>Support office documents (LibreOffice)</source>
        <translation>支持 Office 文档（LibreOffice）</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="137"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;img src=&quot;:/face_nohappy.png&quot;/&gt;&lt;span style=&quot; font-size:18pt; font-weight:496; color:#333;&quot;&gt; Oops! &lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:18pt; font-weight:496; color:#333;&quot;&gt;No suffixs matched.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;img src=&quot;:/face_nohappy.png&quot;/&gt;&lt;span style=&quot; font-size:18pt; font-weight:496; color:#333;&quot;&gt; 哎呀！ &lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:18pt; font-weight:496; color:#333;&quot;&gt;没有匹配的后缀。&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4filetype.cpp" line="212"/>
        <source>Select your Text format file</source>
        <translation>选择文本格式的文件</translation>
    </message>
</context>
<context>
    <name>CSettingsWnd4General</name>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="58"/>
        <source>Form</source>
        <translation>表单</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="63"/>
        <source>Double click to open file with system default application</source>
        <translation>双击用系统默认程序打开文件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="65"/>
        <source>Use trigger key close the window</source>
        <translation>用触发键关闭窗口</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="66"/>
        <source>Display titlebar</source>
        <translation>显示标题栏</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="67"/>
        <source>Display controls</source>
        <translation>显示控制栏</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="68"/>
        <source>Repeat</source>
        <translation>循环播放</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="69"/>
        <source>Media</source>
        <translation>媒体</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="70"/>
        <source>Start Vuel at log-in</source>
        <translation>登录时启动 Vuel</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="72"/>
        <source>Follow the file manager&apos;s selection</source>
        <translation>跟随文件管理器中的选择</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="74"/>
        <source>Preview with Space in GNOME Files</source>
        <translation>在 GNOME 文件中按空格键预览</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="76"/>
        <source>Close the window when file open failed</source>
        <translation>文件打开失败时关闭窗口</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="77"/>
        <source>Wrap</source>
        <translation>自动换行</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="78"/>
        <source>Line Number</source>
        <translation>行号</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4general.cpp" line="79"/>
        <source>Text</source>
        <translation>文本</translation>
    </message>
</context>
<context>
    <name>CSettingsWnd4Key</name>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="51"/>
        <source>Trigger Keys:  </source>
        <translation>触发键：  </translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="81"/>
        <source>Form</source>
        <translation>表单</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="87"/>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="88"/>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="89"/>
        <source>Control</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="103"/>
        <source>Appearance</source>
        <translation>外观</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="104"/>
        <source>Title:</source>
        <translation>标题栏：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="105"/>
        <source>Controls:</source>
        <translation>控制栏：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="106"/>
        <source>Close:</source>
        <translation>关闭：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="108"/>
        <source>Image</source>
        <translation>图片</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="109"/>
        <location filename="../src/settings/csettingswnd4key.cpp" line="125"/>
        <source>Actual Size:</source>
        <translation>实际大小：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="109"/>
        <location filename="../src/settings/csettingswnd4key.cpp" line="124"/>
        <source>Fit Width:</source>
        <translation>适合宽度：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="109"/>
        <source>Rotate:</source>
        <translation>旋转：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="111"/>
        <source>Media</source>
        <translation>媒体</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="112"/>
        <source>Play/Pause:</source>
        <translation>播放/暂停：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="112"/>
        <source>Forward:</source>
        <translation>快进：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="112"/>
        <source>Backward:</source>
        <translation>快退：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="114"/>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="115"/>
        <source>Open Selected Item:</source>
        <translation>打开所选项：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="116"/>
        <source>Reveal Selected Item:</source>
        <translation>在文件管理器中显示所选项：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="117"/>
        <source>Open Selected Item With Vuel:</source>
        <translation>用 Vuel 打开所选项：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="119"/>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="120"/>
        <source>Go To Previous Page:</source>
        <translation>转到上一页：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="121"/>
        <source>Go To Next Page:</source>
        <translation>转到下一页：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="122"/>
        <source>Go To Start Of Document:</source>
        <translation>转到文档开头：</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4key.cpp" line="123"/>
        <source>Go To End Of Document:</source>
        <translation>转到文档末尾：</translation>
    </message>
</context>
<context>
    <name>CSettingsWnd4Plugins</name>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="53"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="53"/>
        <source>Suffix</source>
        <translation>后缀</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="53"/>
        <source>Plugin</source>
        <translation>插件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="72"/>
        <source>Search plugins</source>
        <translation>搜索插件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="88"/>
        <source>&lt;p&gt;&lt;b&gt;Plugins&lt;/b&gt; let Vuel preview files it cannot show by itself, through a program of your own, for the suffixes you give it.&lt;/p&gt;&lt;p&gt;Vuel starts the program with the parameters you set (the first one is the program, found on the search path), then the path of the previewed file, then an output base name.&lt;/p&gt;&lt;p&gt;The program writes its result to the base name plus a suffix of its choice (&lt;i&gt;base&lt;/i&gt;.txt, &lt;i&gt;base&lt;/i&gt;.png, ...) and exits with code 0. Vuel then previews that output. When the program cannot start, fails or writes nothing, Vuel shows the file&apos;s information instead.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;插件&lt;/b&gt;让 Vuel 借助您自己的程序，预览它本身无法显示的文件，适用于您指定的后缀。&lt;/p&gt;&lt;p&gt;Vuel 启动该程序时依次传入您设置的参数（第一个参数是程序本身，在搜索路径中查找）、被预览文件的路径，以及一个输出基本名。&lt;/p&gt;&lt;p&gt;程序把结果写入基本名加上它自选的后缀（&lt;i&gt;base&lt;/i&gt;.txt、&lt;i&gt;base&lt;/i&gt;.png 等），并以退出码 0 结束。随后 Vuel 预览该输出。如果程序无法启动、运行失败或没有写出任何内容，Vuel 将改为显示该文件的信息。&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="104"/>
        <source>About plugin</source>
        <translation>关于插件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="203"/>
        <source>Add Plugin</source>
        <translation>添加插件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="219"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="219"/>
        <source>Save plugins settings failed.</source>
        <translation>保存插件设置失败。</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4plugins.cpp" line="219"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>CSettingsWnd4PluginsAdd</name>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="106"/>
        <source>1, Pick a name</source>
        <translation>1. 起个名字</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="109"/>
        <source>Plugin name</source>
        <translation>插件名称</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="118"/>
        <source>2, Add related suffix(s)</source>
        <translation>2. 添加相关后缀</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="128"/>
        <source>Add the suffix of a file</source>
        <translation>添加某个文件的后缀</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="129"/>
        <source>Remove the selected suffix</source>
        <translation>删除所选后缀</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="142"/>
        <source>3, Set plugin start parameter(s)</source>
        <translation>3. 设置插件启动参数</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="152"/>
        <source>Add a parameter editor</source>
        <translation>添加参数编辑框</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="154"/>
        <source>Delete the focused parameter editor</source>
        <translation>删除当前参数编辑框</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="164"/>
        <source>Fill parameter editor, one parameter one line</source>
        <translation>填写参数编辑框，每行一个参数</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="222"/>
        <source>Custom File</source>
        <translation>自定义文件</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="232"/>
        <source>%1 already exist in the %2.</source>
        <translation>%1 已存在于“%2”中。</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="233"/>
        <source>%1 already exist.</source>
        <translation>%1 已存在。</translation>
    </message>
    <message>
        <location filename="../src/settings/csettingswnd4pluginsadd.cpp" line="278"/>
        <source>parameter: number and letter only </source>
        <translation>参数：仅限数字和字母 </translation>
    </message>
</context>
<context>
    <name>CSystemTrayIcon</name>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="9"/>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="22"/>
        <source>&amp;Settings</source>
        <translation>设置(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="23"/>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="24"/>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="26"/>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="34"/>
        <source>Information</source>
        <translation>信息</translation>
    </message>
    <message>
        <location filename="../src/controller/csystemtrayicon.cpp" line="34"/>
        <source>Application started.</source>
        <translation>程序已启动。</translation>
    </message>
</context>
<context>
    <name>CUnknownWnd</name>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="67"/>
        <source>Not previewed</source>
        <translation>无法预览</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="68"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="70"/>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="71"/>
        <source>Path</source>
        <translation>路径</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="73"/>
        <source>Original Path</source>
        <translation>原始路径</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="74"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="78"/>
        <source>Exec file</source>
        <translation>打开方式</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="80"/>
        <source>Created time</source>
        <translation>创建时间</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="81"/>
        <source>Last modified time</source>
        <translation>修改时间</translation>
    </message>
    <message>
        <location filename="../src/viewers/cunknownwnd.cpp" line="82"/>
        <source>Last read time</source>
        <translation>访问时间</translation>
    </message>
</context>
<context>
    <name>MediaPlayer</name>
    <message>
        <location filename="../src/media/mediaplayer.cpp" line="342"/>
        <source>The file is a playlist; playlists are not played.</source>
        <translation>该文件是播放列表；播放列表不会被播放。</translation>
    </message>
    <message>
        <location filename="../src/media/mediaplayer.cpp" line="417"/>
        <source>The media engine could not start.</source>
        <translation>媒体引擎无法启动。</translation>
    </message>
</context>
<context>
    <name>PageItem</name>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="21"/>
        <source>Go to first page</source>
        <translation>转到第一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="23"/>
        <source>Go to previous page</source>
        <translation>转到上一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="25"/>
        <source>Go to next page</source>
        <translation>转到下一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="27"/>
        <source>Go to last page</source>
        <translation>转到最后一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="29"/>
        <source>Backward</source>
        <translation>后退</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="31"/>
        <source>Forward</source>
        <translation>前进</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="33"/>
        <source>Quit application</source>
        <translation>退出程序</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="35"/>
        <source>Enter presentation mode</source>
        <translation>进入演示模式</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="37"/>
        <source>Exit presentation mode</source>
        <translation>退出演示模式</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="39"/>
        <source>Find...</source>
        <translation>查找...</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="41"/>
        <source>Go to page...</source>
        <translation>转到页面...</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="43"/>
        <source>Close document</source>
        <translation>关闭文档</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="45"/>
        <source>Print...</source>
        <translation>打印...</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="87"/>
        <source>Go to %1</source>
        <translation>转到 %1</translation>
    </message>
    <message>
        <location filename="../src/pdf/pageitem.cpp" line="92"/>
        <source>Go to page %1</source>
        <translation>转到第 %1 页</translation>
    </message>
</context>
<context>
    <name>PdfView</name>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="167"/>
        <source>Zoom &amp;In</source>
        <translation>放大(&amp;I)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="171"/>
        <source>Zoom &amp;Out</source>
        <translation>缩小(&amp;O)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="178"/>
        <source>&amp;Beginning of the Document</source>
        <translation>文档开头(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="180"/>
        <source>Start</source>
        <translation>开头</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="184"/>
        <source>&amp;End of the Document</source>
        <translation>文档末尾(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="186"/>
        <source>End</source>
        <translation>末尾</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="192"/>
        <source>&amp;Previous Page</source>
        <translation>上一页(&amp;P)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="193"/>
        <source>Previous</source>
        <translation>上一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="196"/>
        <source>&amp;Next Page</source>
        <translation>下一页(&amp;N)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="197"/>
        <source>Next</source>
        <translation>下一页</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="215"/>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="219"/>
        <source>&amp;Browse Tool</source>
        <translation>浏览工具(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="222"/>
        <source>&amp;Magnify Tool</source>
        <translation>放大镜工具(&amp;M)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="225"/>
        <source>&amp;Selection Tool</source>
        <translation>选择工具(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="228"/>
        <source>&amp;Text Selection Tool</source>
        <translation>文本选择工具(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="232"/>
        <source>S&amp;how Forms</source>
        <translation>显示表单(&amp;H)</translation>
    </message>
    <message>
        <location filename="../src/pdf/actionhandler.cpp" line="109"/>
        <source>&amp;Zoom</source>
        <translation>缩放(&amp;Z)</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="406"/>
        <source>Copy &amp;Image to Clipboard</source>
        <translation>复制图像到剪贴板(&amp;I)</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="407"/>
        <source>&amp;Save Image to File...</source>
        <translation>保存图像到文件(&amp;S)...</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="408"/>
        <location filename="../src/pdf/pdfmousetools.cpp" line="435"/>
        <source>Copy &amp;Text to Clipboard</source>
        <translation>复制文本到剪贴板(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="409"/>
        <location filename="../src/pdf/pdfmousetools.cpp" line="437"/>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="424"/>
        <source>%1 (*.png *.bmp *.gif *.jpg *.jpeg *.tiff *.xpm)</source>
        <translation>%1 (*.png *.bmp *.gif *.jpg *.jpeg *.tiff *.xpm)</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="424"/>
        <source>Supported image files</source>
        <translation>支持的图像文件</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="425"/>
        <source>Save image as</source>
        <translation>图像另存为</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="429"/>
        <source>File save error</source>
        <translation>文件保存出错</translation>
    </message>
    <message>
        <location filename="../src/pdf/pdfmousetools.cpp" line="429"/>
        <source>Cannot save image to:
</source>
        <translation>无法将图像保存到：
</translation>
    </message>
</context>
<context>
    <name>ZoomAction</name>
    <message>
        <location filename="../src/pdf/zoomaction.cpp" line="11"/>
        <source>Select or insert zoom factor here</source>
        <translation>在此选择或输入缩放比例</translation>
    </message>
    <message>
        <location filename="../src/pdf/zoomaction.cpp" line="12"/>
        <source>&lt;p&gt;Select the zoom factor here.  Alternatively, you can also introduce a zoom factor and press Enter.&lt;/p&gt;</source>
        <translation>&lt;p&gt;在此选择缩放比例。也可以输入一个缩放比例，然后按 Enter。&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/appsetup.cpp" line="49"/>
        <location filename="../src/appsetup.cpp" line="50"/>
        <location filename="../src/core/tempfolder.cpp" line="10"/>
        <source>Vuel</source>
        <translation>Vuel</translation>
    </message>
    <message>
        <location filename="../src/main.cpp" line="94"/>
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message>
        <location filename="../src/main.cpp" line="95"/>
        <source>Some settings could not be read. A copy is kept in %1.</source>
        <translation>部分设置无法读取。已在 %1 保留一份副本。</translation>
    </message>
</context>
</TS>
