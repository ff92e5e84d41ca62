// Reads a loaded document, and every frame whose document can be reached,
// into a plain object. Run in the application's own script world, so the
// page's scripts can neither see nor change it. Called with the limits of
// the snapshot (counts of links, pictures, META entries, paragraphs and
// frames, the length of each text and of all texts together), which the
// page and its frames share; what lies beyond them is left out.
(function (limits) {
    'use strict';

    var left = {
        links: limits.links,
        pictures: limits.pictures,
        metas: limits.metas,
        paragraphs: limits.paragraphs,
        frames: limits.frames,
        characters: limits.characters
    };

    function text(value) {
        var result = value === undefined || value === null ? '' : String(value);
        var most = Math.min(limits.textLength, left.characters);
        if (result.length > most)
            result = result.substring(0, most);
        left.characters -= result.length;
        return result;
    }

    // The first elements, as many as the kind has left.
    function texts(elements, kind, read) {
        var result = [];
        for (var i = 0; i < elements.length && left[kind] > 0; ++i) {
            --left[kind];
            result.push(read(elements[i]));
        }
        return result;
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
        var snapshot = {
            url: text(doc.URL),
            title: text(doc.title),
            domain: text(doc.domain),
            bodyTagName: doc.body ? doc.body.tagName : '',
            links: texts(doc.links, 'links', function (a) {
                return { href: text(a.href), outerText: text(a.outerText) };
            }),
            imageSources: texts(doc.images, 'pictures', function (img) { return text(img.src); }),
            metas: texts(doc.getElementsByTagName('meta'), 'metas', function (meta) {
                return { name: text(meta.name), content: text(meta.content) };
            }),
            paragraphs: texts(doc.getElementsByTagName('p'), 'paragraphs', function (p) {
                return text(p.outerText);
            }),
            frames: []
        };
        for (var i = 0; i < win.frames.length && left.frames > 0; ++i) {
            if (reachableDocument(win.frames[i])) {
                --left.frames;
                snapshot.frames.push(read(win.frames[i]));
            }
        }
        return snapshot;
    }

    return read(window);
})
