// A small stand-in for the browser's document, enough for the page's modules to run under
// Node: elements parsed from the page the page maker writes, attributes and dataset, the
// selectors the modules use, focus, events that bubble, and dialogs.

const voidElements = new Set(["meta", "link", "input", "br", "img"]);
const entities = {
    amp: "&",
    lt: "<",
    gt: ">",
    quot: "\"",
    apos: "'",
    nbsp: "\u00a0"
};

function decode(text) {
    return text.replace(/&(#x[0-9a-f]+|#[0-9]+|[a-z]+);/gi, (whole, name) => {
        if (name[0] === "#") {
            return String.fromCodePoint(
                name[1] === "x" ? parseInt(name.slice(2), 16) : Number(name.slice(1)));
        }
        return name in entities ? entities[name] : whole;
    });
}

export class FakeEvent {
    constructor(type, fields = {}) {
        Object.assign(this, fields);
        this.type = type;
        this.defaultPrevented = false;
    }

    preventDefault() {
        this.defaultPrevented = true;
    }
}

class Node {
    constructor(document) {
        this.ownerDocument = document;
        this.parentElement = null;
        this.childNodes = [];
        this.listeners = new Map();
    }

    addEventListener(type, listener) {
        if (!this.listeners.has(type)) {
            this.listeners.set(type, []);
        }
        this.listeners.get(type).push(listener);
    }

    removeEventListener(type, listener) {
        const list = this.listeners.get(type) || [];
        const at = list.indexOf(listener);
        if (at >= 0) {
            list.splice(at, 1);
        }
    }

    // Runs the listeners here and on every element above, then on the document.
    dispatchEvent(event) {
        if (!event.target) {
            event.target = this;
        }
        const path = [];
        for (let node = this; node; node = node.parentElement) {
            path.push(node);
        }
        if (this !== this.ownerDocument && this.ownerDocument.documentElement.contains(this)) {
            path.push(this.ownerDocument);
        }
        for (const node of path) {
            for (const listener of [...(node.listeners.get(event.type) || [])]) {
                listener.call(node, event);
            }
        }
        return !event.defaultPrevented;
    }
}

class TextNode {
    constructor(text) {
        this.text = text;
        this.parentElement = null;
    }
}

export class FakeElement extends Node {
    constructor(document, tagName) {
        super(document);
        this.tagName = tagName.toUpperCase();
        this.attributes = new Map();
        this.style = {};
        this.value = "";
        this.classList = new ClassList(this);
        this.dataset = new Proxy({}, {
            get: (target, name) => {
                const value = this.getAttribute(dataName(name));
                return value === null ? undefined : value;
            },
            set: (target, name, value) => {
                this.setAttribute(dataName(name), value);
                return true;
            },
        });
    }

    get id() {
        return this.getAttribute("id") || "";
    }

    get className() {
        return this.getAttribute("class") || "";
    }

    set className(value) {
        this.setAttribute("class", value);
    }

    get hidden() {
        return this.hasAttribute("hidden");
    }

    set hidden(value) {
        this.toggleAttribute("hidden", value);
    }

    get open() {
        return this.hasAttribute("open");
    }

    get disabled() {
        return this.hasAttribute("disabled");
    }

    set disabled(value) {
        this.toggleAttribute("disabled", value);
    }

    get tabIndex() {
        return this.hasAttribute("tabindex") ? Number(this.getAttribute("tabindex")) : -1;
    }

    set tabIndex(value) {
        this.setAttribute("tabindex", value);
    }

    get title() {
        return this.getAttribute("title") || "";
    }

    set title(value) {
        this.setAttribute("title", value);
    }

    getAttribute(name) {
        return this.attributes.has(name) ? this.attributes.get(name) : null;
    }

    setAttribute(name, value) {
        this.attributes.set(name, String(value));
    }

    removeAttribute(name) {
        this.attributes.delete(name);
    }

    hasAttribute(name) {
        return this.attributes.has(name);
    }

    toggleAttribute(name, on) {
        if (on) {
            this.setAttribute(name, "");
        } else {
            this.removeAttribute(name);
        }
    }

    get children() {
        return this.childNodes.filter((node) => node instanceof FakeElement);
    }

    get childElementCount() {
        return this.children.length;
    }

    get firstElementChild() {
        return this.children[0] || null;
    }

    get nextElementSibling() {
        const siblings = this.parentElement ? this.parentElement.children : [];
        return siblings[siblings.indexOf(this) + 1] || null;
    }

    get textContent() {
        return this.childNodes
            .map((node) => node instanceof TextNode ? node.text : node.textContent)
            .join("");
    }

    set textContent(text) {
        this.replaceChildren(new TextNode(String(text)));
    }

    append(...nodes) {
        for (const node of nodes) {
            const child = typeof node === "string" ? new TextNode(node) : node;
            if (child.parentElement) {
                child.remove();
            }
            child.parentElement = this;
            this.childNodes.push(child);
        }
    }

    replaceChildren(...nodes) {
        for (const node of this.childNodes) {
            node.parentElement = null;
        }
        this.childNodes = [];
        this.append(...nodes);
    }

    remove() {
        if (this.parentElement) {
            const siblings = this.parentElement.childNodes;
            siblings.splice(siblings.indexOf(this), 1);
            this.parentElement = null;
        }
    }

    contains(node) {
        for (let at = node; at; at = at.parentElement) {
            if (at === this) {
                return true;
            }
        }
        return false;
    }

    matches(selector) {
        return parseSelector(selector).some((complex) => matchComplex(this, complex, null));
    }

    closest(selector) {
        for (let at = this; at; at = at.parentElement) {
            if (at.matches(selector)) {
                return at;
            }
        }
        return null;
    }

    querySelectorAll(selector) {
        const list = parseSelector(selector);
        const found = [];
        const visit = (element) => {
            for (const child of element.children) {
                if (list.some((complex) => matchComplex(child, complex, this))) {
                    found.push(child);
                }
                visit(child);
            }
        };
        visit(this);
        return found;
    }

    querySelector(selector) {
        return this.querySelectorAll(selector)[0] || null;
    }

    focus() {
        const previous = this.ownerDocument.activeElement;
        if (previous === this) {
            return;
        }
        this.ownerDocument.activeElement = this;
        previous.dispatchEvent(new FakeEvent("focusout", {relatedTarget: this}));
    }

    blur() {
        if (this.ownerDocument.activeElement === this) {
            this.ownerDocument.activeElement = this.ownerDocument.body;
            this.dispatchEvent(new FakeEvent("focusout", {relatedTarget: null}));
        }
    }

    select() {
        this.ownerDocument.selected = this;
    }

    getBoundingClientRect() {
        return {left: 0, top: 0, right: 0, bottom: 0, width: 0, height: 0};
    }

    showModal() {
        this.setAttribute("open", "");
    }

    close() {
        if (this.open) {
            this.removeAttribute("open");
            this.dispatchEvent(new FakeEvent("close"));
        }
    }

    click() {
        this.dispatchEvent(new FakeEvent("click"));
    }
}

function dataName(name) {
    return "data-" + name.replace(/[A-Z]/g, (letter) => "-" + letter.toLowerCase());
}

class ClassList {
    constructor(element) {
        this.element = element;
    }

    names() {
        return this.element.className.split(/\s+/).filter(Boolean);
    }

    contains(name) {
        return this.names().includes(name);
    }

    add(name) {
        if (!this.contains(name)) {
            this.element.className = [...this.names(), name].join(" ");
        }
    }

    remove(name) {
        this.element.className = this.names().filter((other) => other !== name).join(" ");
    }

    toggle(name, on = !this.contains(name)) {
        if (on) {
            this.add(name);
        } else {
            this.remove(name);
        }
        return on;
    }
}

// Selectors: lists of compounds of a tag, #id, .class, [name], [name=value] and :scope, joined by
// spaces or ">".
function parseSelector(text) {
    return text.split(",").map((complex) => {
        const parts = [];
        let combinator = " ";
        for (const token of complex.trim().replace(/\s*>\s*/g, " > ").split(/\s+/)) {
            if (token === ">") {
                combinator = ">";
                continue;
            }
            parts.push({combinator, compound: parseCompound(token)});
            combinator = " ";
        }
        return parts;
    });
}

function parseCompound(token) {
    const compound = {tag: null, id: null, scope: false, classes: [], attributes: []};
    const pattern = /^[a-z]+|#[\w-]+|\.[\w-]+|:scope|\[([\w-]+)(?:=(?:"([^"]*)"|([^\]]*)))?\]/gy;
    let found;
    while ((found = pattern.exec(token)) !== null) {
        const text = found[0];
        if (text === ":scope") {
            compound.scope = true;
        } else if (text[0] === "#") {
            compound.id = text.slice(1);
        } else if (text[0] === ".") {
            compound.classes.push(text.slice(1));
        } else if (text[0] === "[") {
            const value = found[2] !== undefined ? found[2] : found[3];
            compound.attributes.push([found[1], value !== undefined ? value : null]);
        } else {
            compound.tag = text.toUpperCase();
        }
        if (pattern.lastIndex === token.length) {
            return compound;
        }
    }
    throw new Error(`the fake document does not take the selector ${token}`);
}

function matchCompound(element, compound, scope) {
    return (!compound.scope || element === scope) &&
        (!compound.tag || element.tagName === compound.tag) &&
        (!compound.id || element.id === compound.id) &&
        compound.classes.every((name) => element.classList.contains(name)) &&
        compound.attributes.every(
            ([name, value]) => element.hasAttribute(name) &&
                (value === null || element.getAttribute(name) === value));
}

// Matches the parts from the last one back to the first.
function matchComplex(element, parts, scope, last = parts.length - 1) {
    const {combinator, compound} = parts[last];
    if (!matchCompound(element, compound, scope)) {
        return false;
    }
    if (last === 0) {
        return true;
    }
    const parent = element.parentElement;
    if (combinator === ">") {
        return parent !== null && matchComplex(parent, parts, scope, last - 1);
    }
    for (let above = parent; above; above = above.parentElement) {
        if (matchComplex(above, parts, scope, last - 1)) {
            return true;
        }
    }
    return false;
}

export class FakeDocument extends Node {
    constructor(html) {
        super(null);
        this.ownerDocument = this;
        this.title = "";
        this.copied = [];
        this.copyWorks = true;
        this.selected = null;
        this.documentElement = new FakeElement(this, "html");
        this.documentElement.clientWidth = 1024;
        this.body = new FakeElement(this, "body");
        this.documentElement.append(this.body);
        this.activeElement = this.body;
        parseInto(this, this.body, html);
    }

    createElement(tagName) {
        return new FakeElement(this, tagName);
    }

    getElementById(id) {
        return this.documentElement.querySelector(`#${id}`);
    }

    querySelector(selector) {
        return this.documentElement.querySelector(selector);
    }

    querySelectorAll(selector) {
        return this.documentElement.querySelectorAll(selector);
    }

    // The old copy command: copies the selected field's value unless told to fail.
    execCommand(command) {
        if (command !== "copy" || !this.copyWorks || !this.selected) {
            return false;
        }
        this.copied.push(this.selected.value);
        return true;
    }
}

// The elements of a page's body, from HTML as the page maker writes it.
function parseInto(document, body, html) {
    const start = html.search(/<body>/i);
    const text = start >= 0 ? html.slice(start + "<body>".length) : html;
    const tag = /<!--[\s\S]*?-->|<(\/?)([a-z0-9]+)((?:\s+[\w-]+(?:="[^"]*")?)*)\s*>|([^<]+)/giy;
    const open = [body];
    let found;
    while ((found = tag.exec(text)) !== null) {
        const [, closing, name, attributes, words] = found;
        const parent = open[open.length - 1];
        if (words !== undefined) {
            parent.append(decode(words));
        } else if (name && closing) {
            if (name.toLowerCase() === "body") {
                break;
            }
            while (open.length > 1 && open.pop().tagName !== name.toUpperCase()) {
                // An element left open ends with its parent.
            }
        } else if (name) {
            const element = document.createElement(name);
            for (const attribute of attributes.matchAll(/([\w-]+)(?:="([^"]*)")?/g)) {
                element.setAttribute(attribute[1], decode(attribute[2] || ""));
            }
            if (element.tagName === "INPUT") {
                element.value = element.getAttribute("value") || "";
            }
            parent.append(element);
            if (!voidElements.has(name.toLowerCase())) {
                open.push(element);
            }
        }
    }
}
