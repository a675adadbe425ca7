#include "code/ccodewnd.h"

#include "cglobaldata/cglobaldata.h"
#include "code/codeformat.h"
#include "code/codelexers.h"
#include "code/comboboxdelegate.h"
#include "code/editoraccessibility.h"
#include "code/iloader.h"
#include "core/settings.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QFutureWatcher>
#include <QListView>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextCodec>
#include <QToolButton>
#include <QWheelEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <Qsci/qscilexerjavascript.h>
#include <Qsci/qscilexerxml.h>
#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace {

const char kSystemCodec[] = "System";
const char kUtf8Codec[] = "UTF-8";

QString CurrentSuffix() { return QFileInfo(CGlobalData::Instance().Path()).suffix().toLower(); }

// QsciScintilla::setText stops at the first NUL byte; appending takes the whole text.
void SetEditorText(QsciScintilla* editor, const QString& text)
{
    editor->clear();
    editor->append(text);
}

QsciScintilla* MakeReadOnlyEditor(QWidget* parent)
{
    auto* editor = new QsciScintilla(parent);
    UsePlainEditorAccessibilityWhileInactive();
    // Nothing here follows the document's changes; each report costs a count from its start.
    editor->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
    editor->setUtf8(true);
    editor->setContextMenuPolicy(Qt::NoContextMenu);
    editor->setReadOnly(true);
    editor->setFrameStyle(QFrame::NoFrame);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A previewer never undoes; keeping the history would double the memory of a large file.
    editor->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    // Lines already laid out on the page stay so while more text is appended below them.
    editor->SendScintilla(QsciScintillaBase::SCI_SETLAYOUTCACHE, QsciScintillaBase::SC_CACHE_PAGE);
    return editor;
}

// The pale grey of margins, selection and caret line.
QColor Light() { return QColor(0xf2, 0xf2, 0xf2); }

// Both editors select and fold alike.
void ApplySelectionAndFoldColours(QsciScintilla* editor)
{
    editor->setSelectionBackgroundColor(Light());
    editor->setSelectionForegroundColor(QColor(QStringLiteral("#0d0d0c")));
    editor->setFoldMarginColors(Light(), Light());
}

// Wrapping lays out every line to know its height: seconds on megabytes. Large texts are shown
// unwrapped, their overlong lines broken for showing; so are binary files, which are not read.
void ApplyWrap(QsciScintilla* editor, qint64 size, bool binary = false)
{
    const bool wrap = GetSettingValue(SettingKey::TextWrap).toBool() && size <= CCodeWnd::kLargeText && !binary;
    editor->setWrapMode(wrap ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
    editor->setWrapVisualFlags(QsciScintilla::WrapFlagNone, QsciScintilla::WrapFlagNone, 0);
}

QStringList CodecNames()
{
    QStringList names;
    for (const QByteArray& name : QTextCodec::availableCodecs())
        names << QString::fromLatin1(name);
    names.removeAll(QLatin1String(kSystemCodec));
    names.removeAll(QLatin1String(kUtf8Codec));
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.toLower() < b.toLower(); });
    return names;
}

// "System" is the locale's codec; Qt knows that name only on Windows.
QTextCodec* CodecByName(const QString& name)
{
    return name == QLatin1String(kSystemCodec) ? QTextCodec::codecForLocale()
                                               : QTextCodec::codecForName(name.toLatin1());
}

// Fills the loader from the formatted text; null, the loader released, when cancelled.
std::shared_ptr<FilledLoader> LoadDocument(ILoader* loader, const QString& text, const std::atomic_bool& cancel)
{
    constexpr int kChunk = 1 << 20;
    for (int at = 0; at < text.size() && !cancel;) {
        int size = qMin(kChunk, text.size() - at);
        if (text.at(at + size - 1).isHighSurrogate() && at + size < text.size())
            ++size;
        const QByteArray utf8 = QStringView(text).mid(at, size).toUtf8();
        loader->AddData(utf8.constData(), utf8.size());
        at += size;
    }
    auto filled = std::make_shared<FilledLoader>(loader);
    return cancel ? nullptr : filled;
}

// Code page, read-only state, undo and the lexer's state belong to the document, not to the view.
// Set as QsciScintilla::setLexer sets them, without its restyling of the whole text.
void SwapDocument(QsciScintilla* editor, void* document)
{
    editor->SendScintilla(QsciScintillaBase::SCI_SETDOCPOINTER, 0UL, document);
    editor->SendScintilla(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0UL, document);
    editor->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    editor->setUtf8(true);
    editor->setReadOnly(true);
    QsciLexer* lexer = editor->lexer();
    if (!lexer)
        return;
    if (lexer->lexer())
        editor->SendScintilla(QsciScintillaBase::SCI_SETLEXERLANGUAGE, 0UL, lexer->lexer());
    else
        editor->SendScintilla(QsciScintillaBase::SCI_SETLEXER, lexer->lexerId());
    for (int set = 1; set <= 9; ++set)
        if (const char* words = lexer->keywords(set))
            editor->SendScintilla(QsciScintillaBase::SCI_SETKEYWORDS, set - 1, words);
    lexer->refreshProperties();
}

} // namespace

CCodeWnd::CCodeWnd(QWidget* parent)
    : CAbstractWnd(parent), m_editor(MakeReadOnlyEditor(this)), m_formatView(MakeReadOnlyEditor(this)),
      m_stack(new QStackedWidget(this))
{
    SetUpMainEditor();
    SetUpFormatView();
    m_stack->addWidget(m_editor);
    m_stack->addWidget(m_formatView);
    AddContentWidget(m_stack);
    m_editor->viewport()->installEventFilter(this);
    m_formatView->viewport()->installEventFilter(this);

    m_editor->installEventFilter(this);

    m_appendTimer.setSingleShot(true);
    m_appendTimer.setInterval(0);
    connect(&m_appendTimer, &QTimer::timeout, this, &CCodeWnd::AppendQueued);
    m_firstPieceTimer.setSingleShot(true);
    m_firstPieceTimer.setInterval(kFirstPieceWait);
    connect(&m_firstPieceTimer, &QTimer::timeout, this, [this] {
        m_reader.Stop();
        Manager()->m_err = CAbstractManager::TooLongToReadText();
        emit SigErr(QString());
    });
    connect(&m_reader, &TextReader::SigPiece, this, &CCodeWnd::OnPiece);
    // The scroll bar's signal did not come for a scroll the caret made (Ctrl+End); this notice comes for every one.
    connect(m_editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & QsciScintillaBase::SC_UPDATE_V_SCROLL)
            ShowFileLineNumbers();
    });
}

CCodeWnd::~CCodeWnd()
{
    CancelFormatting();
    m_reader.Stop();
    // The lexers are shared by the process; the editor must not keep one past its own life.
    m_editor->setLexer(nullptr);
}

void CCodeWnd::SetUpMainEditor()
{
    m_editor->setFolding(QsciScintilla::NoFoldStyle, 2);
    m_editor->setBraceMatching(QsciScintilla::NoBraceMatch);
    m_editor->setCaretLineVisible(false);
}

void CCodeWnd::SetUpFormatView()
{
    m_formatView->setWrapMode(QsciScintilla::WrapWord);
    m_formatView->setBraceMatching(QsciScintilla::SloppyBraceMatch);
    m_formatView->setWrapVisualFlags(QsciScintilla::WrapFlagNone, QsciScintilla::WrapFlagNone, 0);
    m_formatView->setMarginWidth(1, 0);
    m_formatView->setFolding(QsciScintilla::PlainFoldStyle, 2);
}

void CCodeWnd::InitControlBar(QBoxLayout* layout)
{
    m_formatButton = CreateToolButton(QStringLiteral("://code_gray.png"), QStringLiteral("://code_blue.png"),
                                      tr("Format Code"), QString());
    QAction* action = m_formatButton->defaultAction();
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, &CCodeWnd::OnFormatToggled);
    CreateCodecBox();
    layout->addWidget(m_formatButton);
    layout->addStretch(0);
    layout->addWidget(m_codecBox);
    connect(m_stack, &QStackedWidget::currentChanged, m_codecBox,
            [this](int page) { m_codecBox->setVisible(page == 0); });
    ResetControls();
}

void CCodeWnd::CreateCodecBox()
{
    m_codecBox = new QComboBox(ControlBar());
    auto* list = new QListView(m_codecBox);
    list->verticalScrollBar()->setObjectName(QStringLiteral("sub"));
    m_codecBox->setView(list);
    m_codecBox->setItemDelegate(new ComboBoxDelegate(m_codecBox));
    m_codecBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_codecBox->addItem(QLatin1String(kSystemCodec));
    m_codecBox->addItem(QLatin1String(kUtf8Codec));
    m_codecBox->addItems(CodecNames());
    m_codecBox->insertSeparator(2);
    connect(m_codecBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CCodeWnd::OnEncodingChosen);
}

bool CCodeWnd::IsFormattable() const
{
    const QString suffix = CurrentSuffix();
    return suffix == QLatin1String("json") || suffix == QLatin1String("xml");
}

void CCodeWnd::ResetControls()
{
    if (!m_formatButton)
        return;
    if (IsFormattable()) {
        m_formatButton->defaultAction()->setChecked(false);
        m_formatButton->setEnabled(false);
        m_formatButton->show();
    } else {
        m_formatButton->hide();
    }
    const QSignalBlocker quiet(m_codecBox); // choosing "System" here must not re-read the file
    m_codecBox->setCurrentText(QLatin1String(kSystemCodec));
}

void CCodeWnd::Clear()
{
    ++m_generation;
    CancelFormatting();
    LeaveReading();
    m_formatView->clear();
}

// The reading left and everything it had shown or queued gone, as before a file.
void CCodeWnd::LeaveReading()
{
    m_reader.Stop();
    m_appendTimer.stop();
    m_firstPieceTimer.stop();
    m_queued.clear();
    m_queuedAt = 0;
    m_allQueued = false;
    m_shownLines = ShownLines();
    m_lineEstimate = 0;
    m_codec = nullptr;
    m_editor->clear();
}

QSize CCodeWnd::GetSize() const { return QSize(900, m_editor->textHeight(0) * m_editor->lines()); }

void CCodeWnd::LoadHelper()
{
    if (m_codecBox)
        m_codecBox->setEnabled(false);
    m_stack->setCurrentWidget(m_editor);
    const int generation = m_generation;
    ApplyLexer(CGlobalData::Instance().SubType(), CGlobalData::Instance().Lexer());
    if (generation != m_generation) // the lexer table processed events, and a newer load came in
        return;
    ApplyMainColours();
    m_rereading = false;
    StartReading(nullptr);
}

void CCodeWnd::StartReading(QTextCodec* codec)
{
    LeaveReading();
    m_readingTime.start();
    m_reader.Start(CGlobalData::Instance().Path(), codec);
    m_firstPieceTimer.start();
}

void CCodeWnd::OnPiece(const TextPiece& piece)
{
    if (piece.job != m_reader.Job())
        return;
    m_shownLines.Append(piece.breaks);
    m_lineEstimate = piece.lineEstimate;
    m_allQueued = piece.last;
    if (!m_codec)
        return ShowFirstPiece(piece);
    if (piece.whole)
        ShowWholeDocument(piece.whole->TakeDocument());
    if (!piece.utf8.isEmpty())
        m_queued.push_back(piece.utf8);
    if (!m_appendTimer.isActive())
        AppendQueued();
}

void CCodeWnd::ShowFirstPiece(const TextPiece& piece)
{
    m_firstPieceTimer.stop();
    if (piece.notRegular || !piece.error.isEmpty()) {
        Manager()->m_err = piece.notRegular ? tr("Not a regular file.") : piece.error;
        emit SigErr(QString());
        return;
    }
    m_codec = piece.codec;
    // Appended to a wrapping editor, the text would be wrapped whole, line by line, before the first
    // paint; wrapped afterwards, only the lines in sight are wrapped then and the rest when idle.
    m_editor->setWrapMode(QsciScintilla::WrapNone);
    if (piece.fileSize > kPlainText) {
        m_editor->setLexer(nullptr);
        m_editor->setFont(QApplication::font());
    }
    if (m_codecBox && m_codec != QTextCodec::codecForLocale()) { // a guess, or a byte-order mark: say which
        const QSignalBlocker quiet(m_codecBox);
        m_codecBox->setCurrentText(QString::fromLatin1(m_codec->name()));
    }
    // Creating a loader resets the editor's map of shown lines (a Scintilla fault): done while the
    // editor is empty, it maps the first piece's lines as they go in.
    ILoader* loader = !piece.last && piece.fileSize > kLargeText ? CreateLoader(piece.fileSize) : nullptr;
    m_queued.push_back(piece.utf8);
    AppendQueued(); // at once, so that the window opens on the first screen
    ApplyWrap(m_editor, piece.fileSize, piece.binary);
    if (!piece.last)
        m_reader.Continue(loader);
    if (m_rereading)
        return;
    if (m_formatButton) // the worker formats the whole file, not the part shown so far
        m_formatButton->setEnabled(true);
    emit SigLoaded();
}

// Ctrl+End was pressed (the caret at the end of a text not empty): the text's later parts follow it.
bool CCodeWnd::IsCaretAtEnd() const
{
    const auto caret = m_editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    return caret > 0 && caret == m_editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
}

// A large text is built into a document of its own on the reading thread: appending it here would
// grow the editor's buffers by copies of hundreds of megabytes, on this thread. Past a size it has
// no colours, which would be worked out from its start at every jump.
ILoader* CCodeWnd::CreateLoader(qint64 fileSize)
{
    const long options = fileSize > kPlainText ? QsciScintillaBase::SC_DOCUMENTOPTION_STYLES_NONE
                                               : QsciScintillaBase::SC_DOCUMENTOPTION_DEFAULT;
    return reinterpret_cast<ILoader*>(m_editor->SendScintilla(QsciScintillaBase::SCI_CREATELOADER, 0UL, options));
}

// The whole text replaces the first piece where the user is reading it.
void CCodeWnd::ShowWholeDocument(void* document)
{
    const int firstLine = m_editor->firstVisibleLine();
    const auto anchor = m_editor->SendScintilla(QsciScintillaBase::SCI_GETANCHOR);
    const auto caret = m_editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const bool following = IsCaretAtEnd();
    SwapDocument(m_editor, document);
    m_editor->setFirstVisibleLine(firstLine);
    if (following) // Ctrl+End while the file came in goes on to its real end
        m_editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    else
        m_editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(anchor), caret);
}

// Slices until a short while has passed, then again once the window has painted and taken input.
void CCodeWnd::AppendQueued()
{
    QElapsedTimer spent;
    spent.start();
    // Text appended to a wrapping editor is wrapped whole at once; unwrapped for the appending, and
    // wrapped again before the next paint, it is wrapped where it is shown and the rest when idle.
    const QsciScintilla::WrapMode wrap = m_editor->wrapMode();
    const auto top = m_editor->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, m_editor->firstVisibleLine());
    m_editor->setWrapMode(QsciScintilla::WrapNone);
    while (!m_queued.empty() && spent.elapsed() < 20)
        AppendSlice();
    if (wrap != QsciScintilla::WrapNone) {
        m_editor->setWrapMode(wrap);
        m_editor->setFirstVisibleLine(
            int(m_editor->SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(top))));
    }
    UpdateLineNumbers();
    if (!m_queued.empty())
        m_appendTimer.start();
    else if (m_allQueued)
        OnReadingFinished();
}

// Appends a slice of the first queued piece, sized so that one append takes a few milliseconds.
void CCodeWnd::AppendSlice()
{
    const QByteArray& piece = m_queued.front();
    int size = qMin(m_slice, piece.size() - m_queuedAt);
    while (m_queuedAt + size < piece.size() && (piece.at(m_queuedAt + size) & 0xC0) == 0x80)
        --size; // never inside a character
    const bool following = !m_editor->hasSelectedText() && IsCaretAtEnd();
    QElapsedTimer took;
    took.start();
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETREADONLY, 0UL);
    m_editor->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(size),
                            piece.constData() + m_queuedAt);
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETREADONLY, 1UL);
    if (following) // Ctrl+End while the file comes in goes on to its real end
        m_editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    const qint64 ms = took.elapsed();
    m_slice = ms > 8 ? qMax(m_slice / 2, 64 << 10) : ms < 2 ? qMin(m_slice * 2, 16 << 20) : m_slice;
    m_reader.Consumed(size);
    m_queuedAt += size;
    if (m_queuedAt == piece.size()) {
        m_queued.pop_front();
        m_queuedAt = 0;
    }
}

void CCodeWnd::ApplyLexer(int subType, const QString& name)
{
    if (QsciLexer* lexer = name.isEmpty() ? LexerForSubType(subType) : LexerForName(name)) {
        m_editor->setLexer(lexer);
        return;
    }
    m_editor->setLexer(nullptr);
    m_editor->setFont(QApplication::font());
}

void CCodeWnd::ApplyMainColours()
{
    ApplySelectionAndFoldColours(m_editor);
    m_editor->setMarginsForegroundColor(QColor(QStringLiteral("#808080")));
    m_editor->setMarginsBackgroundColor(Light());
    m_editor->setEdgeColor(Light());
    m_editor->setHotspotBackgroundColor(Light());
}

// The margin is as wide as the file's last line number, estimated while the file comes in.
void CCodeWnd::UpdateLineNumbers()
{
    if (!GetSettingValue(SettingKey::TextLineNum).toBool()) {
        m_editor->setMarginLineNumbers(1, false);
        m_editor->setMarginWidth(1, 20);
        return;
    }
    const qint64 lines = qMax<qint64>(m_lineEstimate, m_editor->lines());
    const QFont font = m_editor->lexer() ? m_editor->lexer()->defaultFont() : m_editor->font();
    m_editor->setMarginType(1, m_shownLines.IsEmpty() ? QsciScintilla::NumberMargin
                                                      : QsciScintilla::TextMarginRightJustified);
    m_editor->setMarginWidth(1, QFontMetrics(font).horizontalAdvance(QString::number(lines)) + 10);
    ShowFileLineNumbers();
}

// With lines broken for showing, the margin numbers the file's lines, those in sight.
void CCodeWnd::ShowFileLineNumbers()
{
    if (m_shownLines.IsEmpty() || !GetSettingValue(SettingKey::TextLineNum).toBool())
        return;
    auto docLine = [this](long shown) {
        return int(
            m_editor->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(shown)));
    };
    const long top = m_editor->firstVisibleLine(); // counts wrapped lines
    const int first = docLine(top);
    const int last = docLine(top + long(m_editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)) + 1);
    for (int line = first; line <= qMin(last, m_editor->lines() - 1); ++line) {
        const int fileLine = m_shownLines.FileLine(line);
        m_editor->setMarginText(line, fileLine < 0 ? QString() : QString::number(fileLine + 1),
                                QsciScintillaBase::STYLE_LINENUMBER);
    }
}

// What is copied is the file's text, without the line ends added for showing.
bool CCodeWnd::CopyFileText(QClipboard::Mode mode)
{
    if (m_shownLines.IsEmpty() || !m_editor->hasSelectedText())
        return false;
    const auto start = m_editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const QByteArray text = m_shownLines.OriginalBytes(m_editor->selectedText().toUtf8(), start);
    QApplication::clipboard()->setText(QString::fromUtf8(text), mode);
    return true;
}

void CCodeWnd::OnReadingFinished()
{
    qDebug() << "text read" << m_editor->length() << "bytes in" << m_readingTime.elapsed() << "ms"
             << CGlobalData::Instance().Path();
    if (m_codecBox)
        m_codecBox->setEnabled(true);
    if (m_errorOffset >= 0)
        PlaceCursorAtError();
}

void CCodeWnd::OnEncodingChosen(int index)
{
    QTextCodec* codec = CodecByName(m_codecBox->itemText(index));
    if (!codec)
        return;
    m_codecBox->setEnabled(false);
    m_rereading = true;
    StartReading(codec);
}

void CCodeWnd::OnFormatToggled(bool checked)
{
    CancelFormatting();
    if (!checked) {
        m_stack->setCurrentWidget(m_editor);
        return;
    }
    PrepareFormatView();
    m_stack->setCurrentWidget(m_formatView);
    StartFormatting();
}

void CCodeWnd::PrepareFormatView()
{
    ApplyWrap(m_formatView, 0);
    QsciLexer* lexer = FormatKind() == codeformat::Kind::Json
                           ? static_cast<QsciLexer*>(new QsciLexerJavaScript(m_formatView))
                           : static_cast<QsciLexer*>(new QsciLexerXML(m_formatView));
    StyleLexer(lexer);
    m_formatView->setLexer(lexer);
    delete m_formatLexer;
    m_formatLexer = lexer;
    m_formatView->setMatchedBraceBackgroundColor(QColor(Qt::white));
    m_formatView->setMatchedBraceForegroundColor(QColor(QStringLiteral("#b37e36")));
    m_formatView->setCaretLineVisible(true);
    m_formatView->setCaretForegroundColor(QColor(QStringLiteral("#333")));
    m_formatView->setCaretLineBackgroundColor(Light());
    ApplySelectionAndFoldColours(m_formatView);
    m_formatView->clear();
}

codeformat::Kind CCodeWnd::FormatKind() const
{
    return CurrentSuffix() == QLatin1String("json") ? codeformat::Kind::Json : codeformat::Kind::Xml;
}

// On a pool thread, from the file itself: the editor may hold only its first part, with breaks
// added for showing. The result counts only while this flag is the viewer's.
void CCodeWnd::StartFormatting()
{
    auto cancel = std::make_shared<std::atomic_bool>(false);
    m_formatCancel = cancel;
    m_formatTime.start();
    const QString path = CGlobalData::Instance().Path();
    QTextCodec* codec = m_codec ? m_codec : QTextCodec::codecForLocale();
    const codeformat::Kind kind = FormatKind();
    auto* loader = reinterpret_cast<ILoader*>(m_formatView->SendScintilla(QsciScintillaBase::SCI_CREATELOADER, 0UL));
    auto* watcher = new QFutureWatcher<FormattedDocument>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, cancel] {
        watcher->deleteLater();
        const FormattedDocument formatted = watcher->result();
        if (cancel == m_formatCancel)
            ShowFormatResult(formatted);
    });
    watcher->setFuture(QtConcurrent::run([path, codec, kind, cancel, loader] {
        FormattedDocument formatted;
        formatted.result = codeformat::FormatFile(path, codec, kind, cancel.get());
        if (formatted.result.ok)
            formatted.document = LoadDocument(loader, formatted.result.text, *cancel);
        else
            loader->Release();
        formatted.result.text.clear();
        return formatted;
    }));
    m_formatView->viewport()->setCursor(Qt::BusyCursor);
}

void CCodeWnd::CancelFormatting()
{
    if (m_formatCancel)
        m_formatCancel->store(true);
    m_formatCancel.reset();
    m_errorOffset = -1;
    m_formatView->viewport()->unsetCursor();
    RestoreBlankDocument();
}

void CCodeWnd::ShowFormatResult(const FormattedDocument& formatted)
{
    qDebug() << "formatted in" << m_formatTime.elapsed() << "ms" << CGlobalData::Instance().Path();
    m_formatView->viewport()->unsetCursor();
    if (!formatted.result.ok) {
        const codeformat::Result& r = formatted.result;
        return ShowFormatError(codeformat::ErrorText(r.reason, r.line, r.column), r.utf8Offset);
    }
    // The view's own document is kept aside for QScintilla, which frees it with the view.
    if (!m_blankDocument) {
        m_blankDocument = reinterpret_cast<void*>(m_formatView->SendScintilla(QsciScintillaBase::SCI_GETDOCPOINTER));
        m_formatView->SendScintilla(QsciScintillaBase::SCI_ADDREFDOCUMENT, 0UL, m_blankDocument);
    }
    // Scintilla wraps a document set in a wrapping view at once, and one switched to wrapping when
    // idle; both, like matching the first bracket with the last, take seconds on megabytes.
    m_formatView->setWrapMode(QsciScintilla::WrapNone);
    SwapDocument(m_formatView, formatted.document->TakeDocument());
    const int length = m_formatView->length();
    ApplyWrap(m_formatView, length);
    const bool large = length > kLargeText;
    m_formatView->setBraceMatching(large ? QsciScintilla::NoBraceMatch : QsciScintilla::SloppyBraceMatch);
}

void CCodeWnd::RestoreBlankDocument()
{
    if (!m_blankDocument)
        return;
    SwapDocument(m_formatView, m_blankDocument);
    m_blankDocument = nullptr;
    m_formatView->clear();
}

void CCodeWnd::ShowFormatError(const QString& text, qint64 originalOffset)
{
    RestoreBlankDocument();
    SetEditorText(m_formatView, text);
    m_formatView->setCursorPosition(4, 0);
    m_editor->setFocus(Qt::OtherFocusReason);
    m_errorOffset = originalOffset;
    PlaceCursorAtError();
}

// Again once the file is read to the end, should the place be past what was read so far.
void CCodeWnd::PlaceCursorAtError()
{
    if (m_errorOffset < 0)
        return;
    int line = 0, index = 0;
    m_editor->lineIndexFromPosition(int(m_shownLines.ShownPosition(m_errorOffset)), &line, &index);
    m_editor->setCursorPosition(line, index);
    m_editor->setFirstVisibleLine(line);
}

bool CCodeWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) && CopyFileText(QClipboard::Clipboard))
            return true;
    }
    if (watched == m_editor->viewport() && event->type() == QEvent::MouseButtonRelease) // after the editor's own
        QTimer::singleShot(0, this, [this] { CopyFileText(QClipboard::Selection); });
    const bool onViewport = watched == m_editor->viewport() || watched == m_formatView->viewport();
    if (!onViewport || event->type() != QEvent::Wheel)
        return CAbstractWnd::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() != Qt::ControlModifier)
        return CAbstractWnd::eventFilter(watched, event);
    for (QsciScintilla* editor : {m_editor, m_formatView})
        wheel->angleDelta().y() > 0 ? editor->zoomIn() : editor->zoomOut();
    return true;
}
