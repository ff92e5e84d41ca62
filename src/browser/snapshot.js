// Reads a loaded document, and every frame whose document can be reached,
// into a plain object. Run in the application's own script world, so the
// page's scripts can neither see nor change it. The value of the last
// expression is handed back to the program.
(function () {
    'use strict';

    function texts(elements, read) {
        var result = [];
        for (var i = 0; i < elements.length; ++i)
            result.push(read(elements[i]));
        return result;
    }

    function text(value) {
        return value === undefined || value === null ? '' : String(value);
    }

    // A frame of another origin throws on access: it is left out.
    function reachableDocument(frameWindow) {
        try {
            return frameWindow.document || null;
        } catch (e) {
            return null;
        }
    }

    function read(win) {
        var doc = win.document;
        var frames = [];
        for (var i = 0; i < win.frames.length; ++i) {
            if (reachableDocument(win.frames[i]))
                frames.push(read(win.frames[i]));
        }
        return {
            url: text(doc.URL),
            title: text(doc.title),
            domain: text(doc.domain),
            bodyTagName: doc.body ? doc.body.tagName : '',
            links: texts(doc.links, function (a) {
                return { href: text(a.href), outerText: text(a.outerText) };
            }),
            imageSources: texts(doc.images, function (img) { return text(img.src); }),
            metas: texts(doc.getElementsByTagName('meta'), function (meta) {
                return { name: text(meta.name), content: text(meta.content) };
            }),
            paragraphs: texts(doc.getElementsByTagName('p'), function (p) {
                return text(p.outerText);
            }),
            frames: frames
        };
    }

    return read(window);
})();
