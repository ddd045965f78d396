// Text from sellers ends up in attributes, element content and script; none of it may break out.
#include "site/Html.h"

#include <gtest/gtest.h>

using namespace zk::site::html;

TEST(Html, EscapeCoversContentAndBothQuoteKinds) {
    EXPECT_EQ(escape("<a href=\"x\" title='y'>&amp;</a>"),
              "&lt;a href=&quot;x&quot; title=&#39;y&#39;&gt;&amp;amp;&lt;/a&gt;");
    EXPECT_EQ(escape("鉄道模型"), "鉄道模型");
}

TEST(Html, ScriptStringsCannotCloseTheScriptOrTheString) {
    const std::string js = jsString("</script><script>alert(\"x\")\\\n");
    EXPECT_EQ(js.find("</"), std::string::npos);
    EXPECT_EQ(js, "\"\\u003c/script\\u003e\\u003cscript\\u003ealert(\\\"x\\\")\\\\\\n\"");
}

TEST(Html, YenGroupsThousands) {
    EXPECT_EQ(yen(0), "0");
    EXPECT_EQ(yen(999), "999");
    EXPECT_EQ(yen(1500), "1,500");
    EXPECT_EQ(yen(1234567), "1,234,567");
    EXPECT_EQ(yen(-1500), "-1,500");
}

TEST(Html, UrlEncodeKeepsOnlyUnreservedCharacters) {
    EXPECT_EQ(urlEncode("http://a.sim.test:80/jp?x=1&y=2"), "http%3A%2F%2Fa.sim.test%3A80%2Fjp%3Fx%3D1%26y%3D2");
    EXPECT_EQ(urlEncode("円"), "%E5%86%86");
}
