// Runs the offline help search page's script against a minimal document and checks what it
// finds. usage: node gtk_help_search_test.js HELP_DIRECTORY
"use strict";
const fs = require("fs");
const path = require("path");
const vm = require("vm");
const assert = require("assert");

const dir = process.argv[2];
const html = fs.readFileSync(path.join(dir, "search.html"), "utf8");
const script = html.match(/<script>([\s\S]*)<\/script>/)[1];

function element() {
    return {
        value: "",
        textContent: "",
        innerHTML: "",
        children: [],
        appendChild(child) {
            this.children.push(child);
        },
        addEventListener() {},
    };
}
const elements = {
    query: element(),
    results: element(),
    count: element(),
    form: element()
};
const context = {
    document: {
        getElementById: (id) => elements[id],
        createElement: () => element(),
    },
    history: {replaceState() {}},
    location: {search: ""},
    URLSearchParams,
    encodeURI,
    encodeURIComponent,
};
vm.createContext(context);
vm.runInContext(script + "\nthis.pages = pages; this.search = search;", context);

function found(query) {
    elements.results.innerHTML = "";
    elements.results.children = [];
    context.search(query);
    return elements.results.children.map((li) => li.innerHTML.match(/href="([^"]*)"/)[1]);
}

let checks = 0;
function test(name, body) {
    body();
    checks++;
    console.log("ok - " + name);
}

test("every help page is listed once and exists", () => {
    assert.ok(context.pages.length > 0, "the search page lists no help pages");
    const listed = context.pages.map((p) => p.file);
    assert.strictEqual(new Set(listed).size, listed.length);
    for (const file of listed) {
        assert.ok(fs.existsSync(path.join(dir, file)), file + " is missing");
    }
    const pages = fs.readdirSync(dir).filter((f) => /\.html?$/.test(f) && f !== "search.html");
    const index = html.match(/href="([^"]*)">Index</)[1];
    for (const page of pages) {
        if (page !== index) {
            assert.ok(listed.includes(page), page + " is not searchable");
        }
    }
});

test("a word in a title ranks that page first", () => {
    for (const page of context.pages) {
        const word = page.title.split(/[^A-Za-z0-9]+/).filter((w) => w.length > 3)[0];
        if (!word) {
            continue;
        }
        const results = found(word);
        assert.ok(results.length > 0, "nothing found for " + word);
        const first = context.pages.find((p) => p.file === results[0]);
        assert.ok(
            first.title.toLowerCase().includes(word.toLowerCase()),
            word + " should first find a page with it in the title, not " + first.title);
    }
});

test("every word asked for must occur", () => {
    const all = found("the");
    assert.ok(all.length > 1);
    assert.deepStrictEqual(found("the qqqqzzzz"), []);
    assert.match(elements.count.textContent, /No topic matches/);
    assert.deepStrictEqual(found("   "), []);
    assert.strictEqual(elements.count.textContent, "");
});

test("page text and titles are shown as text, not markup", () => {
    // Help text may well contain "<" once its entities are decoded.
    context.pages.push({
        file: "odd.html",
        title: "<b>Odd</b> page",
        keywords: "",
        text: "Type <img src=x onerror=alert(1)> zzodd (.*+?"
    });
    const results = found("zzodd");
    context.pages.pop();
    assert.deepStrictEqual(results, ["odd.html"]);
    const shown = elements.results.children[0].innerHTML;
    assert.ok(!/<img|<b>/i.test(shown), "markup came through: " + shown);
    assert.ok(shown.includes("&lt;b&gt;Odd&lt;/b&gt; page"), shown);
    assert.ok(shown.includes("<mark>zzodd</mark>"), shown);
});

test("the words found are marked in the excerpt", () => {
    found("match");
    assert.ok(elements.results.children.length > 0);
    for (const li of elements.results.children) {
        assert.ok(
            /<mark>match<\/mark>/i.test(li.innerHTML), "the word is not marked: " + li.innerHTML);
    }
});

test("the navigation footer is not searched", () => {
    // The same links end every page; indexed, they made a common word match every page.
    for (const page of context.pages) {
        assert.ok(!page.text.includes(" | "), page.file + " has its footer in its text");
    }
    const footer = html.match(/<p class="nav">([\s\S]*?)<\/p>/)[1];
    assert.ok(footer.length > 0);
    found("restart");
    for (const li of elements.results.children) {
        assert.ok(
            !li.innerHTML.includes(" | "), "the footer is shown as the excerpt: " + li.innerHTML);
    }
});

test("words are spaced as on the page", () => {
    for (const page of context.pages) {
        const gap = page.text.match(/.{0,20}\s[,.;:!?)].{0,10}/);
        assert.strictEqual(gap, null, page.file + " has a space before a sign: " + gap);
    }
    const won = context.pages.find((p) => p.text.includes("YOU WIN!"));
    assert.ok(won, "no page mentions YOU WIN!");
    assert.match(won.text, /YOU WIN!, the/);
});

test("every page links to the contents, the index and the search", () => {
    const contents = html.match(/href="([^"]*)">Contents</)[1];
    const index = html.match(/href="([^"]*)">Index</)[1];
    const pages = fs.readdirSync(dir).filter((f) => /\.html?$/.test(f));
    assert.ok(pages.length >= 9, "too few pages: " + pages);
    for (const page of pages) {
        const text = fs.readFileSync(path.join(dir, page), "utf8");
        for (const [name, file] of [
                 ["Contents", contents], ["Index", index], ["Search", "search.html"]]) {
            assert.ok(
                text.includes("<a href=\"" + file + "\">" + name + "</a>"),
                page + " has no link to " + name);
        }
    }
});

test("the index lists its keywords as a reader expects", () => {
    const index = html.match(/href="([^"]*)">Index</)[1];
    const list = fs.readFileSync(path.join(dir, index), "utf8");
    const keys = [...list.matchAll(/<li>(.*?) &mdash;/g)].map((m) => m[1]);
    assert.ok(keys.length > 10, "the index has too few keywords");
    const sorted = [...keys].sort((a, b) => a.localeCompare(b, "en", {sensitivity: "base"}));
    assert.deepStrictEqual(keys, sorted);
    assert.ok(keys.includes("Add") && keys.includes("Add From None"), "keywords are missing");
    assert.ok(keys.indexOf("Add") < keys.indexOf("Add From None"));
});

console.log(checks + " checks passed");
