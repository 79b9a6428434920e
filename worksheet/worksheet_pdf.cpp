// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/worksheet_pdf.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "core/number_text.h"
#include "core/solutions.h"
#include "toolkit/fonts.h"

namespace pendro {

namespace {

// The page is drawn in dots of this resolution, from the paper's top left corner.
constexpr int Resolution = 600;
constexpr double PageWidthMm = 210;
constexpr double PageHeightMm = 297;
constexpr double ContentWidthMm = PageWidthMm - 2 * SideMarginMm;
constexpr double FooterMm = 8; // the page's last line, inside the bottom margin's edge
constexpr double NumberColumnMm = 9; // "12." in front of each exercise
constexpr double FormulaPoints = 14;
constexpr double SolutionPoints = 12;
constexpr double SmallestShare = 0.5; // a formula is set no smaller than this share to fit

double mm(double value)
{
    return value * Resolution / 25.4;
}

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// A printed minus sign is the typographic one, as wide as a plus.
constexpr char16_t MinusSign = u'\u2212';

QString numberText(std::int64_t value)
{
    return fromUtf8(formatInt(value)).replace(QLatin1Char('-'), QChar(MinusSign));
}

QFont sheetFont(double points, bool bold = false)
{
    return makeFont({ "Arial", points, bold });
}

// A piece of a line of mathematics. Fractions stand on the line's axis with their bars; texts
// and operators are centred on it.
struct Piece
{
    enum class Kind {
        Text, // digits and words
        Operator, // "+", "-", "*", ":", "=" with room on both sides
        Sign, // a minus in front of the first fraction of a sum, close to it
        Fraction, // top over bottom
        Power, // top with bottom as its exponent
        Gap, // scale ems of empty room
    };
    Kind kind = Kind::Text;
    QString top;
    QString bottom;
    double scale = 1; // of the line's font; the whole part of a mixed number stands larger
};
using Formula = std::vector<Piece>;

Piece textPiece(const QString& text, double scale = 1)
{
    return { Piece::Kind::Text, text, {}, scale };
}

Piece operatorPiece(const QString& text)
{
    return { Piece::Kind::Operator, text, {}, 1 };
}

Piece fractionPiece(std::int64_t numerator, std::int64_t denominator)
{
    return { Piece::Kind::Fraction, numberText(numerator), numberText(denominator), 1 };
}

Piece gapPiece(double ems)
{
    return { Piece::Kind::Gap, {}, {}, ems };
}

// Measures and draws formulas in one font size on one paint device.
class FormulaSetter
{
public:
    FormulaSetter(QPaintDevice* device, double points)
        : m_device(device)
        , m_points(points)
    { }

    double width(const Formula& formula) const
    {
        double total = 0;
        for (const Piece& piece : formula)
            total += pieceWidth(piece);
        return total;
    }

    // How far the formula reaches above and below its axis.
    double reach() const
    {
        const QFontMetricsF metrics = this->metrics(1);
        return barGap() + metrics.capHeight() + metrics.descent();
    }

    // Where text beside the formula stands on the line, its digits centred on the axis.
    double textBaseline(double axis) const { return axis + metrics(1).capHeight() / 2; }

    // Draws the formula from x with its axis at axis; where it ends.
    double draw(QPainter& painter, const Formula& formula, double x, double axis) const
    {
        for (const Piece& piece : formula) {
            drawPiece(painter, piece, x, axis);
            x += pieceWidth(piece);
        }
        return x;
    }

private:
    QFont font(double scale) const { return sheetFont(m_points * scale); }

    QFontMetricsF metrics(double scale) const { return QFontMetricsF(font(scale), m_device); }

    double em() const { return metrics(1).height(); }

    double barGap() const { return 0.12 * em(); }

    double pieceWidth(const Piece& piece) const
    {
        const QFontMetricsF line = metrics(piece.scale);
        switch (piece.kind) {
        case Piece::Kind::Text:
            return line.horizontalAdvance(piece.top);
        case Piece::Kind::Operator:
            return line.horizontalAdvance(piece.top) + 0.5 * em();
        case Piece::Kind::Sign:
            return line.horizontalAdvance(piece.top) + 0.1 * em();
        case Piece::Kind::Fraction:
            return std::max(line.horizontalAdvance(piece.top), line.horizontalAdvance(piece.bottom))
                + 0.3 * em();
        case Piece::Kind::Power:
            return line.horizontalAdvance(piece.top) + metrics(0.65).horizontalAdvance(piece.bottom)
                + 0.05 * em();
        case Piece::Kind::Gap:
            return piece.scale * em();
        }
        return 0;
    }

    void drawPiece(QPainter& painter, const Piece& piece, double x, double axis) const
    {
        const QFontMetricsF line = metrics(piece.scale);
        const double width = pieceWidth(piece);
        painter.setFont(font(piece.scale));
        switch (piece.kind) {
        case Piece::Kind::Text:
            painter.drawText(QPointF(x, axis + line.capHeight() / 2), piece.top);
            break;
        case Piece::Kind::Operator:
        case Piece::Kind::Sign: {
            // The sign's own outline is centred on the axis: "*" sits high in its box, "=" low.
            const QRectF ink = line.tightBoundingRect(piece.top);
            const double left = piece.kind == Piece::Kind::Sign
                ? x
                : x + (width - line.horizontalAdvance(piece.top)) / 2;
            painter.drawText(QPointF(left, axis - (ink.top() + ink.bottom()) / 2), piece.top);
            break;
        }
        case Piece::Kind::Fraction: {
            const double inset = 0.1 * em();
            painter.fillRect(
                QRectF(x + inset, axis - mm(0.13), width - 2 * inset, mm(0.26)), Qt::black);
            const auto centred = [&](const QString& text, double baseline) {
                painter.drawText(
                    QPointF(x + (width - line.horizontalAdvance(text)) / 2, baseline), text);
            };
            centred(piece.top, axis - barGap() - line.descent() / 2);
            centred(piece.bottom, axis + barGap() + line.capHeight());
            break;
        }
        case Piece::Kind::Power: {
            const double baseline = axis + line.capHeight() / 2;
            painter.drawText(QPointF(x, baseline), piece.top);
            painter.setFont(font(0.65));
            painter.drawText(QPointF(x + line.horizontalAdvance(piece.top) + 0.05 * em(),
                                 baseline - 0.55 * line.capHeight()),
                piece.bottom);
            break;
        }
        case Piece::Kind::Gap:
            break;
        }
    }

    QPaintDevice* m_device;
    double m_points;
};

// The largest size up to points at which formula fits width.
FormulaSetter fittedSetter(
    QPaintDevice* device, double points, const Formula& formula, double width)
{
    double size = points;
    while (size > points * SmallestShare && FormulaSetter(device, size).width(formula) > width)
        size -= 0.25;
    return FormulaSetter(device, size);
}

Formula exerciseFormula(const FractionExercise& exercise)
{
    Formula formula;
    for (std::size_t i = 0; i < exercise.terms.size(); ++i) {
        const FractionTerm& term = exercise.terms[i];
        if (exercise.operation == FractionOperation::Sum) {
            const QString sign = term.minus ? QString(QChar(MinusSign)) : QStringLiteral("+");
            if (i > 0)
                formula.push_back(operatorPiece(sign));
            else if (term.minus)
                formula.push_back({ Piece::Kind::Sign, sign, {}, 1 });
        } else if (i > 0) {
            formula.push_back(operatorPiece(exercise.operation == FractionOperation::Product
                    ? QStringLiteral("*")
                    : QStringLiteral(":")));
        }
        formula.push_back(fractionPiece(term.numerator, term.denominator));
    }
    formula.push_back(operatorPiece(QStringLiteral("=")));
    return formula;
}

// The reduced fraction, and for an improper one the mixed number with its whole part large; a
// whole result as its number.
Formula resultFormula(const FractionSolution& solution)
{
    if (solution.denominator == 1)
        return { textPiece(numberText(solution.numerator)) };
    Formula formula { fractionPiece(solution.numerator, solution.denominator) };
    if (solution.mixed.whole) {
        formula.push_back(operatorPiece(QStringLiteral("=")));
        formula.push_back(textPiece(numberText(*solution.mixed.whole), 1.5));
        formula.push_back(gapPiece(0.1));
        formula.push_back(fractionPiece(
            solution.mixed.restNumerator.value_or(0), solution.mixed.restDenominator));
    }
    return formula;
}

QString groupText(const char* name, const std::vector<std::int32_t>& values)
{
    QStringList numbers;
    for (const std::int32_t value : values)
        numbers << numberText(value);
    return QString::fromLatin1(name) + QLatin1Char('(') + numbers.join(QStringLiteral(", "))
        + QLatin1Char(')');
}

// A run of pages with the same header and a grid of cells, one per exercise.
struct Section
{
    QString title;
    bool firstPageForms = false; // lines for name, class and date and the task
    int columns = 1;
    double cellHeightMm = 20;
    int count = 0;
    std::function<void(QPainter& painter, int index, const QRectF& cell)> drawCell;
};

class SheetWriter
{
public:
    SheetWriter(QPdfWriter& writer, const WorksheetSettings& settings)
        : m_writer(writer)
        , m_settings(settings)
        , m_info(worksheetKindInfo(settings.kind))
        , m_exercises(worksheetExercises(settings))
    { }

    void write()
    {
        std::vector<Section> sections { exerciseSection() };
        if (m_settings.solutions)
            sections.push_back(solutionSection());
        int pages = 0;
        for (const Section& section : sections)
            pages += pageCount(section);

        QPainter painter(&m_writer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::black);
        int page = 0;
        for (const Section& section : sections) {
            int index = 0;
            bool first = true;
            while (index < section.count) {
                if (page > 0)
                    m_writer.newPage();
                ++page;
                const double top = drawHeader(painter, section, first);
                drawFooter(painter, page, pages);
                const int rows = rowsBelow(section, top);
                for (int slot = 0; slot < rows * section.columns && index < section.count;
                     ++slot, ++index) {
                    const double width = ContentWidthMm / section.columns;
                    const QRectF cell(mm(SideMarginMm + (slot % section.columns) * width),
                        mm(top + (slot / section.columns) * section.cellHeightMm), mm(width),
                        mm(section.cellHeightMm));
                    section.drawCell(painter, index, cell);
                }
                first = false;
            }
        }
    }

private:
    // Where the header of a section's page ends, in millimetres from the paper's top edge.
    static double headerEnd(const Section& section, bool first)
    {
        return TopMarginMm + 12 + (first && section.firstPageForms ? 19 : 0) + 4;
    }

    static int rowsBelow(const Section& section, double top)
    {
        const double room = PageHeightMm - BottomMarginMm - FooterMm - top;
        return std::max(1, static_cast<int>(room / section.cellHeightMm));
    }

    static int pageCount(const Section& section)
    {
        int pages = 0;
        for (int placed = 0; placed < section.count; ++pages)
            placed += rowsBelow(section, headerEnd(section, pages == 0)) * section.columns;
        return pages;
    }

    QString sheetNumberText() const
    {
        return QStringLiteral("Blattnummer %1").arg(m_settings.sheetNumber);
    }

    double drawHeader(QPainter& painter, const Section& section, bool first) const
    {
        const double left = mm(SideMarginMm);
        const double right = mm(SideMarginMm + ContentWidthMm);
        painter.setFont(sheetFont(11));
        const QFontMetricsF small(painter.font(), &m_writer);
        const double titleBaseline = mm(TopMarginMm + 7);
        painter.drawText(QPointF(right - small.horizontalAdvance(sheetNumberText()), titleBaseline),
            sheetNumberText());
        const double titleRoom
            = ContentWidthMm - 5 - small.horizontalAdvance(sheetNumberText()) / mm(1);
        QFont titleFont = sheetFont(16, true);
        while (titleFont.pointSizeF() > 9
            && QFontMetricsF(titleFont, &m_writer).horizontalAdvance(section.title) > mm(titleRoom))
            titleFont.setPointSizeF(titleFont.pointSizeF() - 0.5);
        painter.setFont(titleFont);
        painter.drawText(QPointF(left, titleBaseline), section.title);

        double y = TopMarginMm + 12;
        if (first && section.firstPageForms) {
            painter.setFont(sheetFont(11));
            // Name over half the width, class and date over a quarter each.
            const struct
            {
                const char* label;
                double from;
                double to;
            } fields[] = { { "Name:", 0, 0.5 }, { "Klasse:", 0.54, 0.72 }, { "Datum:", 0.76, 1 } };
            for (const auto& field : fields) {
                const double x = left + field.from * mm(ContentWidthMm);
                const QString label = QString::fromLatin1(field.label);
                painter.drawText(QPointF(x, mm(y + 6)), label);
                painter.fillRect(QRectF(x + small.horizontalAdvance(label) + mm(1.5), mm(y + 6.5),
                                     (field.to - field.from) * mm(ContentWidthMm)
                                         - small.horizontalAdvance(label) - mm(1.5),
                                     mm(0.2)),
                    Qt::black);
            }
            painter.drawText(QPointF(left, mm(y + 14)), QString::fromUtf8(m_info.task));
            y += 19;
        }
        painter.fillRect(QRectF(left, mm(y + 1), mm(ContentWidthMm), mm(0.3)), Qt::black);
        return y + 4;
    }

    void drawFooter(QPainter& painter, int page, int pages) const
    {
        painter.setFont(sheetFont(9));
        const QFontMetricsF metrics(painter.font(), &m_writer);
        const double baseline = mm(PageHeightMm - BottomMarginMm) - metrics.descent();
        painter.drawText(QPointF(mm(SideMarginMm), baseline),
            QStringLiteral("Pendro %1 · %2")
                .arg(QStringLiteral(PENDRO_VERSION), sheetNumberText()));
        const QString count = QStringLiteral("Seite %1 von %2").arg(page).arg(pages);
        painter.drawText(
            QPointF(mm(SideMarginMm + ContentWidthMm) - metrics.horizontalAdvance(count), baseline),
            count);
    }

    void drawNumber(QPainter& painter, int index, const QRectF& cell, double baseline) const
    {
        painter.setFont(sheetFont(12, true));
        painter.drawText(QPointF(cell.left(), baseline), QStringLiteral("%1.").arg(index + 1));
    }

    // A formula after the exercise's number, its axis where the cell's first line needs it.
    void drawFormulaCell(QPainter& painter, int index, const QRectF& cell, const Formula& formula,
        double points, double reserved = 0) const
    {
        const double room = cell.width() - mm(NumberColumnMm) - mm(2) - reserved;
        const FormulaSetter setter = fittedSetter(&m_writer, points, formula, room);
        const double axis = cell.top() + mm(1) + setter.reach();
        drawNumber(painter, index, cell, setter.textBaseline(axis));
        setter.draw(painter, formula, cell.left() + mm(NumberColumnMm), axis);
    }

    Section exerciseSection() const
    {
        Section section;
        section.title = QString::fromUtf8(m_info.title);
        section.firstPageForms = true;
        section.count = static_cast<int>(m_exercises.size());
        switch (m_settings.kind) {
        case WorksheetKind::Factor:
            section.columns = 2;
            section.cellHeightMm = 22;
            break;
        case WorksheetKind::Ggt:
            section.columns = 2;
            section.cellHeightMm = 26;
            break;
        default:
            section.columns = m_settings.terms <= 3 ? 2 : 1;
            section.cellHeightMm = 34;
            break;
        }
        section.drawCell = [this](QPainter& painter, int index, const QRectF& cell) {
            const WorksheetExercise& exercise = m_exercises[static_cast<std::size_t>(index)];
            if (const auto* fraction = std::get_if<FractionExercise>(&exercise)) {
                drawFormulaCell(painter, index, cell, exerciseFormula(*fraction), FormulaPoints);
            } else if (const auto* value = std::get_if<std::int32_t>(&exercise)) {
                drawFormulaCell(painter, index, cell,
                    { textPiece(numberText(*value)), operatorPiece(QStringLiteral("=")) },
                    FormulaPoints);
            } else {
                const auto& group = std::get<std::vector<std::int32_t>>(exercise);
                const QRectF second = cell.translated(0, mm(10));
                drawFormulaCell(painter, index, cell,
                    { textPiece(groupText("ggT", group)), operatorPiece(QStringLiteral("=")) },
                    FormulaPoints - 1);
                const Formula kgv { textPiece(groupText("kgV", group)),
                    operatorPiece(QStringLiteral("=")) };
                const FormulaSetter setter = fittedSetter(
                    &m_writer, FormulaPoints - 1, kgv, second.width() - mm(NumberColumnMm) - mm(2));
                setter.draw(painter, kgv, second.left() + mm(NumberColumnMm),
                    second.top() + mm(1) + setter.reach());
            }
        };
        return section;
    }

    Section solutionSection() const
    {
        Section section;
        section.title = QStringLiteral("Lösungen: ") + QString::fromUtf8(m_info.title);
        section.count = static_cast<int>(m_exercises.size());
        switch (m_settings.kind) {
        case WorksheetKind::Factor:
            section.columns = 2;
            section.cellHeightMm = 10;
            break;
        case WorksheetKind::Ggt:
            section.columns = 1;
            section.cellHeightMm = 9;
            break;
        default:
            section.columns = 1;
            section.cellHeightMm = 17;
            break;
        }
        section.drawCell = [this](QPainter& painter, int index, const QRectF& cell) {
            const WorksheetExercise& exercise = m_exercises[static_cast<std::size_t>(index)];
            if (const auto* fraction = std::get_if<FractionExercise>(&exercise)) {
                drawFractionSolution(painter, index, cell, *fraction);
            } else if (const auto* value = std::get_if<std::int32_t>(&exercise)) {
                Formula formula { textPiece(numberText(*value)),
                    operatorPiece(QStringLiteral("=")) };
                const std::vector<PrimePower> powers = primePowers(*value);
                for (std::size_t i = 0; i < powers.size(); ++i) {
                    if (i > 0)
                        formula.push_back(operatorPiece(QStringLiteral("*")));
                    if (powers[i].exponent > 1)
                        formula.push_back({ Piece::Kind::Power, numberText(powers[i].prime),
                            numberText(powers[i].exponent), 1 });
                    else
                        formula.push_back(textPiece(numberText(powers[i].prime)));
                }
                drawFormulaCell(painter, index, cell, formula, SolutionPoints + 1);
            } else {
                const auto& group = std::get<std::vector<std::int32_t>>(exercise);
                const GgtAndKgv result = ggtAndKgv(group);
                drawFormulaCell(painter, index, cell,
                    { textPiece(groupText("ggT", group)), operatorPiece(QStringLiteral("=")),
                        textPiece(fromUtf8(result.ggt)), gapPiece(2),
                        textPiece(groupText("kgV", group)), operatorPiece(QStringLiteral("=")),
                        textPiece(fromUtf8(result.kgv)) },
                    SolutionPoints + 1);
            }
        };
        return section;
    }

    // The exercise, "=", the reduced fraction and the mixed number; the decimal value at the
    // right edge.
    void drawFractionSolution(
        QPainter& painter, int index, const QRectF& cell, const FractionExercise& exercise) const
    {
        const std::optional<FractionSolution> solution = solveFractionExercise(exercise);
        Formula formula = exerciseFormula(exercise);
        if (!solution) {
            drawFormulaCell(painter, index, cell, formula, SolutionPoints);
            return;
        }
        for (const Piece& piece : resultFormula(*solution))
            formula.push_back(piece);
        painter.setFont(sheetFont(SolutionPoints - 1));
        const QFontMetricsF metrics(painter.font(), &m_writer);
        const QString decimal = QStringLiteral("Dezimalzahl: ")
            + fromUtf8(solution->decimal).replace(QLatin1Char('-'), QChar(MinusSign));
        const double decimalWidth = metrics.horizontalAdvance(decimal);
        drawFormulaCell(painter, index, cell, formula, SolutionPoints, decimalWidth + mm(4));
        const FormulaSetter setter(&m_writer, SolutionPoints);
        painter.setFont(sheetFont(SolutionPoints - 1));
        painter.drawText(QPointF(cell.right() - decimalWidth,
                             cell.top() + mm(1) + setter.reach() + metrics.capHeight() / 2),
            decimal);
    }

    QPdfWriter& m_writer;
    const WorksheetSettings& m_settings;
    const WorksheetKindInfo& m_info;
    std::vector<WorksheetExercise> m_exercises;
};

} // namespace

QByteArray worksheetPdf(const WorksheetSettings& settings)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Resolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Pendro %1").arg(QStringLiteral(PENDRO_VERSION)));
        writer.setTitle(QStringLiteral("%1, Blattnummer %2")
                            .arg(QString::fromUtf8(worksheetKindInfo(settings.kind).title))
                            .arg(settings.sheetNumber));
        SheetWriter(writer, settings).write();
    }
    return bytes;
}

} // namespace pendro
