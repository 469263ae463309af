#include "editor/EditorElementCopy.h"

namespace toneloft {

int ElementOperator(const EditorElement& e)
{
    if (e.kind == EditorElement::Kind::Label)
        return e.index >= 1 && e.index <= 6 ? e.index : 0;
    return e.index == 0 ? 0 : ((e.index - 1) % 6) + 1;
}

namespace {

// Labels 0..6, grids 0..26, graphs 0..12.
bool exists(const EditorElement& e)
{
    const int last = e.kind == EditorElement::Kind::Label ? 6 : e.kind == EditorElement::Kind::Grid ? 26 : 12;
    return e.index >= 0 && e.index <= last;
}

} // namespace

SourceTarget GetSourceTargetID(const EditorElement& source, const EditorElement& target)
{
    SourceTarget st;
    if (!exists(source) || !exists(target))
        return st;
    st.sourceOpNo = ElementOperator(source);
    st.targetOpNo = ElementOperator(target);
    const bool sameElement = source.kind == target.kind && source.index == target.index &&
                             source.listKey == target.listKey && source.editorKey == target.editorKey;
    if (sameElement || source.kind != target.kind)
        return st;
    if ((st.sourceOpNo == 0) != (st.targetOpNo == 0))
        return st;
    if ((target.index == 25 || target.index == 26) && target.index != source.index)
        return st;
    // C++ division truncates toward zero, as the section rule wants (index 0 is in section 0).
    if ((source.index - 1) / 6 != (target.index - 1) / 6)
        return st;
    st.accepted = true;
    return st;
}

} // namespace toneloft
