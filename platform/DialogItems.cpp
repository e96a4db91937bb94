#include "platform/DialogItems.h"

QvControlKind QvControlKindOf(const DlgItemTemplate& it)
{
    switch (it.kind) {
    case DlgItemKind::Button:
        switch (it.style & 0xFu) {
        case BS_GROUPBOX: return QvControlKind::GroupBox;
        case BS_AUTOCHECKBOX: return QvControlKind::CheckBox;
        default: return QvControlKind::PushButton;
        }
    case DlgItemKind::Edit: return (it.style & ES_MULTILINE) ? QvControlKind::MultiLineEdit : QvControlKind::Edit;
    case DlgItemKind::Static: return QvControlKind::Static;
    case DlgItemKind::ComboBox: return QvControlKind::ComboBox;
    }
    return QvControlKind::None;
}

int QvDefaultButtonIndex(const DlgTemplate& t)
{
    for (int i = 0; i < t.itemCount; ++i)
        if (t.items[i].kind == DlgItemKind::Button && (t.items[i].style & 0xFu) == BS_DEFPUSHBUTTON) return i;
    return -1;
}

int QvDefaultCommand(const DlgTemplate& t)
{
    const int i = QvDefaultButtonIndex(t);
    return i < 0 ? IDOK : t.items[i].id;
}

bool QvKeepsEnter(const DlgItemTemplate& it)
{
    return QvControlKindOf(it) == QvControlKind::MultiLineEdit && (it.style & ES_WANTRETURN) != 0;
}
