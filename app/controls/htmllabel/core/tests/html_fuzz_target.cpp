// Fuzz target of the HTML view's engine: the input is a document, taken
// through every step the control takes with it (assignment, layout, paint
// passes over the scroll range, hit tests, anchors, title) on the fake
// page, with and without anchors. Whatever it holds, every position laid
// out stays in the layout's range.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/controls/htmllabel/core/tests/fake_canvas.h"
#include "libs/common/tests/fuzz_corpus.h"

namespace {

using namespace corvella::htmllabel;

constexpr long kRange = 1L << 29;

bool InRange(int32_t v) { return std::labs(static_cast<long>(v)) <= kRange; }

void Exercise(const std::string& markup, bool anchors) {
    HtmlDocument doc;
    doc.enableAnchors = anchors;
    doc.Assign(markup);
    testing::FakeCanvas page(220, 90);
    RenderOptions options;
    options.enableAnchors = anchors;
    options.enableScroll = true;
    RenderDocument(doc, page, true, options);
    for (const HtmlToken& t : doc.Tokens())
        corvella::fuzz::Check(InRange(t.Top) && InRange(t.Bottom) && InRange(t.Left) && InRange(t.Right),
                              "positions stay in the layout's range");
    const ScrollRange range = ComputeScrollRange(doc, 90);
    for (int value : {0, range.max / 2, range.max}) {
        options.scrollValue = value;
        RenderDocument(doc, page, false, options);
        doc.HitTest(20, 10, value * 10);
    }
    for (int index : doc.Anchors()) ScrollForAnchor(doc, doc.Tokens()[static_cast<size_t>(index)].Href, range.max);
    doc.DocumentTitle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string markup(reinterpret_cast<const char*>(data), size);
    Exercise(markup, true);
    Exercise(markup, false);
    return 0;
}
