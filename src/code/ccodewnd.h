#pragma once

#include "code/codeformat.h"
#include "code/shownlines.h"
#include "code/textreader.h"
#include "viewers/cabstractwnd.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <deque>
#include <memory>

class ILoader;
class QComboBox;
class QsciLexer;
class QsciScintilla;
class QStackedWidget;
class QTextCodec;
class QToolButton;

// Plain text and source code, read-only, coloured by file type; JSON and XML can also be
// shown pretty-printed. The file is read and decoded on a thread of its own; the window shows
// the first piece at once and appends the rest in slices short enough to keep it responsive.
// Formatting runs on a pool thread, which also builds the editor's document for the result.
class CCodeWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CCodeWnd(QWidget* parent = nullptr);
    ~CCodeWnd() override;

    static constexpr int kLargeText = 1 << 20;    // bytes from which text is read whole into a document, unwrapped
    static constexpr int kPlainText = 8 << 20;    // bytes from which text has no colours
    static constexpr int kFirstPieceWait = 10000; // ms before a file that gives nothing is left

    QsciScintilla* MainEditor() const { return m_editor; }
    QsciScintilla* FormattedView() const { return m_formatView; }

public slots:
    QSize GetSize() const override;
    MainType GetWndType() const override { return MT_TEXT; }
    void ResetControls() override;
    void InitControlBar(QBoxLayout* layout) override;
    void Clear() override;

protected slots:
    void LoadHelper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpMainEditor();
    void SetUpFormatView();
    void CreateCodecBox();
    void ApplyLexer(int subType, const QString& name);
    void ApplyMainColours();
    void LeaveReading();
    void StartReading(QTextCodec* codec);
    void OnPiece(const TextPiece& piece);
    void ShowFirstPiece(const TextPiece& piece);
    ILoader* CreateLoader(qint64 fileSize);
    void ShowWholeDocument(void* document);
    bool IsCaretAtEnd() const;
    void AppendQueued();
    void AppendSlice();
    void UpdateLineNumbers();
    void ShowFileLineNumbers();
    bool CopyFileText(QClipboard::Mode mode);
    void OnReadingFinished();
    void OnEncodingChosen(int index);
    void OnFormatToggled(bool checked);
    void PrepareFormatView();
    codeformat::Kind FormatKind() const;
    void StartFormatting();
    void CancelFormatting();
    struct FormattedDocument {
        codeformat::Result result;
        std::shared_ptr<FilledLoader> document; // holding the formatted text
    };
    void ShowFormatResult(const FormattedDocument& formatted);
    void RestoreBlankDocument();
    void ShowFormatError(const QString& text, qint64 originalOffset);
    void PlaceCursorAtError();
    bool IsFormattable() const;

    TextReader m_reader;
    QTimer m_appendTimer;     // appends the next slices once the window has had its turn
    QTimer m_firstPieceTimer; // the bound on a file that gives nothing
    std::deque<QByteArray> m_queued;
    int m_queuedAt = 0;    // bytes of the first queued piece already shown
    int m_slice = 1 << 20; // bytes appended at once, tuned to the editor's speed
    bool m_allQueued = false;
    bool m_rereading = false; // the same file in another encoding
    qint64 m_lineEstimate = 0;
    QElapsedTimer m_readingTime;
    QElapsedTimer m_formatTime;
    ShownLines m_shownLines;
    QTextCodec* m_codec = nullptr;
    QsciScintilla* m_editor;
    QsciScintilla* m_formatView;
    QStackedWidget* m_stack;
    QsciLexer* m_formatLexer = nullptr;
    QComboBox* m_codecBox = nullptr;
    QToolButton* m_formatButton = nullptr;
    int m_generation = 0;                             // counts Clear()s, so a load that was overtaken gives up
    std::shared_ptr<std::atomic_bool> m_formatCancel; // the running formatting's, until it is abandoned
    void* m_blankDocument = nullptr;                  // the format view's own document while it shows a loaded one
    qint64 m_errorOffset = -1; // where the shown format error is, as a UTF-8 offset into the file
};
