#pragma once

#include <QString>
#include <QWidget>

#include "listview/AddressFieldModel.h"

namespace quorrel {

// A four-field IPv4 address entry: one tab stop, the fields inside are reached with the
// keys. Typing, dots, Backspace, the arrow keys and paste go to an AddressFieldModel,
// which decides everything; this widget only forwards events and paints the model.
//
// The model is the widget's own unless one is bound with setModel (the profile editor
// binds the models it keeps its decisions in). A bound model must outlive the widget.
class IpAddressEdit final : public QWidget {
    Q_OBJECT
public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    void setModel(AddressFieldModel* model);
    AddressFieldModel& model() { return *model_; }
    const AddressFieldModel& model() const { return *model_; }

    // The address in host byte order, blank fields counting as 0; 0 blanks the control.
    AddressValue address() const { return model_->value(); }
    void setAddress(AddressValue value);
    void clear();
    bool isBlank() const { return model_->isBlank(); }
    void setFieldRange(int field, int min, int max);

    // The fields as shown, joined by dots ("10.1.." while two are blank); empty when blank.
    QString text() const;

    // Takes the model's enabled state and content after the model changed behind the
    // widget's back.
    void syncFromModel();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The field under a point of the widget (0 to 3).
    int fieldAt(const QPoint& point) const;

signals:
    // The control gained the input focus (a click, Tab, or the program moving it here).
    void focusGained();
    // The user changed the address.
    void edited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect fieldRect(int field) const;
    QRect contentRect() const;
    void changed();

    AddressFieldModel own_;
    AddressFieldModel* model_ = &own_;
};

}  // namespace quorrel
