#pragma once

#include "code/codeformat.h"
#include "code/linesplitter.h"
#include "viewers/cabstractwnd.h"

#include <QFile>
#include <QTimer>

#include <atomic>
#include <memory>

class QComboBox;
class QsciLexer;
class QsciScintilla;
class QStackedWidget;
class QTextCodec;
class QTextDecoder;
class QToolButton;

// Plain text and source code, read-only, coloured by file type; JSON and XML can also be
// shown pretty-printed. The file is read on the GUI thread: the first piece at once, the rest
// in timed pieces, so a large file shows its first screen immediately. Formatting runs on a
// pool thread, which also builds the editor's document for the result.
class CCodeWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CCodeWnd(QWidget* parent = nullptr);
    ~CCodeWnd() override;

    static constexpr qint64 kPieceSize = 8192;
    static constexpr int kLargeFormatted = 1 << 20; // bytes of formatted text

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
    void ApplyLineNumbers();
    void ReadNextPiece();
    void OnReadingFinished();
    void OnEncodingChosen(int index);
    void OnFormatToggled(bool checked);
    void PrepareFormatView();
    codeformat::Kind FormatKind() const;
    void StartFormatting();
    void CancelFormatting();
    struct FormattedDocument {
        codeformat::Result result;
        void* document = nullptr; // Scintilla's, holding the formatted text
    };
    void ShowFormatResult(const FormattedDocument& formatted);
    void SwapDocument(void* document);
    void AttachLexerState();
    void RestoreBlankDocument();
    void ShowFormatError(const QString& text, qint64 originalOffset);
    void PlaceCursorAtError();
    void SetDocument(QTextCodec* codec, const QByteArray& bytes);
    bool IsFormattable() const;

    QFile m_file;
    QTimer m_chunkTimer;
    QTextCodec* m_codec = nullptr;
    std::unique_ptr<QTextDecoder> m_decoder;
    LineSplitter m_splitter;
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
