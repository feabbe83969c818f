#include "app/bytes_pane.h"

#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>
#include <functional>

#include "views/hex_lines.h"

namespace kestrel::app {

namespace {

// The record's bytes on a pale ground, the selected row's on a strong one.
const QColor record_ground(255, 243, 196);
const QColor row_ground(255, 178, 64);

struct text_place {
    std::size_t line = 0;
    std::size_t column = 0;
};

text_place place_of(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    return {static_cast<std::size_t>(block.blockNumber()),
            static_cast<std::size_t>(position - block.position())};
}

}  // namespace

// The lines themselves: read-only text whose clicks (a press and release without a drag)
// go to the pane.
class bytes_pane::text_view_widget : public QPlainTextEdit {
  public:
    explicit text_view_widget(std::function<void(int, int)> clicked) : clicked_(std::move(clicked)) {
        setReadOnly(true);
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QPlainTextEdit::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton || textCursor().hasSelection()) return;
        const QTextCursor at = cursorForPosition(event->position().toPoint());
        clicked_(at.blockNumber(), at.positionInBlock());
    }

  private:
    std::function<void(int, int)> clicked_;
};

bytes_pane::bytes_pane(QWidget* parent)
    : QWidget(parent),
      text_(new text_view_widget([this](int line, int column) { clicked_at(line, column); })),
      bits_(new QLabel) {
    setObjectName(QStringLiteral("bytes pane"));
    bits_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    bits_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bits_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(text_, 1);
    layout->addWidget(bits_);
    setFocusProxy(text_);
}

void bytes_pane::show_bytes(views::node_bytes bytes) {
    bytes_ = std::move(bytes);
    row_.reset();
    QString text;
    for (const std::string& line : views::hex_lines(bytes_.section)) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QString::fromStdString(line);
    }
    text_->setPlainText(text);
    paint_highlights();
    if (bytes_.record) {
        QTextCursor cursor(text_->document()->findBlockByNumber(
            static_cast<int>(views::cell_of(bytes_.record->offset).line)));
        text_->setTextCursor(cursor);
        text_->ensureCursorVisible();
    }
}

void bytes_pane::highlight_row(std::optional<std::size_t> row) {
    row_ = row && *row < bytes_.rows.size() && bytes_.rows[*row] ? row : std::nullopt;
    paint_highlights();
}

QWidget& bytes_pane::text_view() {
    return *text_;
}

bool bytes_pane::has_selection() const {
    return !selected_hex().empty();
}

std::string bytes_pane::selected_hex() const {
    const QTextCursor cursor = text_->textCursor();
    if (!cursor.hasSelection()) return {};
    const text_place from = place_of(*text_->document(), cursor.selectionStart());
    const text_place to = place_of(*text_->document(), cursor.selectionEnd());
    const views::byte_span span =
        views::selected_bytes(from.line, from.column, to.line, to.column, bytes_.section.size());
    return views::hex_text(bytes_.section.subspan(span.first, span.end - span.first));
}

QString bytes_pane::bits_text() const {
    return bits_->isVisible() ? bits_->text() : QString();
}

// One selection per line for the hex and one for the characters of the bytes in
// [first, end), over the blanks between them too.
void bytes_pane::paint_highlights() {
    QList<QTextEdit::ExtraSelection> selections;
    const auto add = [&](std::size_t first, std::size_t end, const QColor& ground) {
        for (std::size_t byte = first; byte < end;) {
            const views::byte_cell from = views::cell_of(byte);
            const std::size_t line_end = std::min(end, (from.line + 1) * views::bytes_per_line);
            const views::byte_cell last = views::cell_of(line_end - 1);
            const QTextBlock block = text_->document()->findBlockByNumber(static_cast<int>(from.line));
            for (const auto& [start, stop] :
                 {std::pair{from.hex, last.hex + 2}, std::pair{from.ascii, last.ascii + 1}}) {
                QTextEdit::ExtraSelection selection;
                selection.cursor = QTextCursor(block);
                selection.cursor.setPosition(block.position() + static_cast<int>(start));
                selection.cursor.setPosition(block.position() + static_cast<int>(stop),
                                             QTextCursor::KeepAnchor);
                selection.format.setBackground(ground);
                selections.append(selection);
            }
            byte = line_end;
        }
    };
    if (bytes_.record) add(bytes_.record->offset, bytes_.record->end(), record_ground);
    QString bits;
    if (row_) {
        const views::bit_range& row = *bytes_.rows[*row_];
        add(row.first_byte(), std::min(row.end_byte(), bytes_.section.size()), row_ground);
        bits = QString::fromStdString(views::bit_picture(row, bytes_.section)).trimmed();
    }
    text_->setExtraSelections(selections);
    bits_->setText(bits);
    bits_->setVisible(!bits.isEmpty());
}

void bytes_pane::clicked_at(int line, int column) {
    if (line < 0 || column < 0) return;
    if (const auto byte = views::byte_at(static_cast<std::size_t>(line), static_cast<std::size_t>(column),
                                         bytes_.section.size()))
        emit byte_clicked(*byte);
}

}  // namespace kestrel::app
