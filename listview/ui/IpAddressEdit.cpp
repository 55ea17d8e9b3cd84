#include "listview/ui/IpAddressEdit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quorrel {

namespace {

constexpr int kFrameMargin = 3;
constexpr int kDotWidthExtra = 2;

// Screen readers read the control as one editable text whose value is the address.
class IpAddressAccessible final : public QAccessibleWidget {
public:
    explicit IpAddressAccessible(IpAddressEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return static_cast<const IpAddressEdit*>(widget())->text();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("quorrel::IpAddressEdit") && object != nullptr &&
        object->isWidgetType()) {
        return new IpAddressAccessible(static_cast<IpAddressEdit*>(object));
    }
    return nullptr;
}

void installAccessibleFactoryOnce() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QWidget(parent) {
    installAccessibleFactoryOnce();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void IpAddressEdit::setModel(AddressFieldModel* model) {
    model_ = model != nullptr ? model : &own_;
    syncFromModel();
}

void IpAddressEdit::setAddress(AddressValue value) {
    model_->setAddress(value);
    update();
}

void IpAddressEdit::clear() {
    model_->clear();
    update();
}

void IpAddressEdit::setFieldRange(int field, int min, int max) {
    model_->setRange(field, {min, max});
}

QString IpAddressEdit::text() const {
    if (model_->isBlank()) {
        return {};
    }
    QStringList parts;
    for (const std::string& field : model_->fields()) {
        parts << QString::fromStdString(field);
    }
    return parts.join(QLatin1Char('.'));
}

void IpAddressEdit::syncFromModel() {
    setEnabled(model_->enabled());
    update();
}

QSize IpAddressEdit::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int fieldWidth = metrics.horizontalAdvance(QStringLiteral("000")) + 4;
    const int dotWidth = metrics.horizontalAdvance(QLatin1Char('.')) + kDotWidthExtra;
    return {AddressFieldModel::kFieldCount * fieldWidth + 3 * dotWidth + 2 * kFrameMargin,
            metrics.height() + 2 * kFrameMargin};
}

QSize IpAddressEdit::minimumSizeHint() const {
    return sizeHint();
}

QRect IpAddressEdit::contentRect() const {
    return rect().adjusted(kFrameMargin, kFrameMargin, -kFrameMargin, -kFrameMargin);
}

QRect IpAddressEdit::fieldRect(int field) const {
    const QRect content = contentRect();
    const int width = content.width() / AddressFieldModel::kFieldCount;
    return {content.x() + field * width, content.y(), width, content.height()};
}

int IpAddressEdit::fieldAt(const QPoint& point) const {
    for (int field = 0; field < AddressFieldModel::kFieldCount; ++field) {
        if (point.x() < fieldRect(field).right()) {
            return field;
        }
    }
    return AddressFieldModel::kFieldCount - 1;
}

void IpAddressEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor textColour = palette().color(group, QPalette::Text);
    const QFontMetrics metrics = fontMetrics();
    const bool focused = hasFocus();

    for (int field = 0; field < AddressFieldModel::kFieldCount; ++field) {
        const QRect box = fieldRect(field);
        const QString digits =
            QString::fromStdString(model_->fields()[static_cast<std::size_t>(field)]);
        const int textWidth = metrics.horizontalAdvance(digits);
        const int textX = box.x() + (box.width() - textWidth) / 2;
        const bool current = focused && field == model_->currentField();
        if (current && model_->fieldSelected() && !digits.isEmpty()) {
            const QRect selection(textX, box.y(), textWidth, box.height());
            painter.fillRect(selection, palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
        } else {
            painter.setPen(textColour);
        }
        painter.drawText(QRect(textX, box.y(), textWidth, box.height()), Qt::AlignVCenter, digits);
        if (current && !model_->fieldSelected()) {
            const int caretX = textX + metrics.horizontalAdvance(digits.left(model_->caret()));
            painter.setPen(textColour);
            painter.drawLine(caretX, box.y() + 1, caretX, box.bottom() - 1);
        }
        if (field + 1 < AddressFieldModel::kFieldCount) {
            painter.setPen(textColour);
            painter.drawText(QRect(box.right() - 2, box.y(), 5, box.height()), Qt::AlignCenter,
                             QStringLiteral("."));
        }
    }
}

void IpAddressEdit::changed() {
    update();
    QAccessibleValueChangeEvent event(this, text());
    QAccessible::updateAccessibility(&event);
    emit edited();
}

void IpAddressEdit::keyPressEvent(QKeyEvent* event) {
    bool taken = false;
    if (event->matches(QKeySequence::Paste)) {
        taken = model_->paste(QApplication::clipboard()->text().toStdString());
    } else {
        switch (event->key()) {
            case Qt::Key_Backspace:
                taken = model_->backspace();
                break;
            case Qt::Key_Left:
                taken = model_->moveLeft();
                update();
                event->accept();
                return;
            case Qt::Key_Right:
                taken = model_->moveRight();
                update();
                event->accept();
                return;
            case Qt::Key_Period:
            case Qt::Key_Space:
                taken = model_->typeDot();
                break;
            default: {
                const QString typed = event->text();
                if (typed.size() == 1 && typed[0].isDigit() && typed[0].unicode() < 128) {
                    taken = model_->typeDigit(static_cast<char>(typed[0].unicode()));
                } else if (typed == QLatin1String(".")) {
                    taken = model_->typeDot();
                } else {
                    // Tab, Return, Escape and the like belong to the dialog.
                    QWidget::keyPressEvent(event);
                    return;
                }
            }
        }
    }
    event->accept();
    if (taken) {
        changed();
    } else {
        QApplication::beep();
    }
}

void IpAddressEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        const int field = fieldAt(event->position().toPoint());
        if (hasFocus()) {
            model_->enterField(field);
            update();
        } else {
            // Focus first (which enters field 0), then the field that was clicked.
            setFocus(Qt::MouseFocusReason);
            model_->enterField(field);
            update();
        }
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void IpAddressEdit::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    const int field =
        event->reason() == Qt::BacktabFocusReason ? AddressFieldModel::kFieldCount - 1 : 0;
    model_->enterField(field);
    update();
    emit focusGained();
}

void IpAddressEdit::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    const AddressValue before = model_->value();
    model_->leave();
    if (model_->value() != before) {
        changed();
    } else {
        update();
    }
}

void IpAddressEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        model_->setEnabled(isEnabled());
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace quorrel
