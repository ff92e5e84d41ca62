// Tells the program when the mouse moves over a link or off an element, and
// what was double-clicked: a picture gives its source, anything else the
// address of its own or its nearest enclosing link.
//
// Pages are written by strangers, so only what the user does counts. This
// script runs in the application's own script world of the top page, where
// the page's scripts can neither see nor call it, and it takes only events
// the browser marks as the user's (isTrusted): a page's script can dispatch
// events but never trusted ones. Frames of the page's own origin are
// listened to from here directly; events inside frames of another origin
// are not taken. Nothing travels by postMessage, which any frame could send.
// (The web channel's client script goes before this one.)
(function () {
    'use strict';

    function linkAddress(element) {
        for (var node = element; node; node = node.parentNode) {
            if ((node.tagName === 'A' || node.tagName === 'AREA') && node.href)
                return String(node.href);
        }
        return '';
    }

    function pickedAddress(element) {
        if (element && element.tagName === 'IMG')
            return String(element.src || '');
        return linkAddress(element);
    }

    var bridge = null;
    var waiting = [];

    function send(event) {
        if (event.type === 'over')
            bridge.mouseOver(event.address);
        else if (event.type === 'out')
            bridge.mouseOut();
        else if (event.type === 'dblclick')
            bridge.doubleClick(event.address);
    }

    // Events that come before the channel is open wait for it.
    function deliver(type, address) {
        var event = { type: type, address: address };
        if (bridge)
            send(event);
        else
            waiting.push(event);
    }

    function openChannel() {
        if (typeof qt === 'undefined' || !qt.webChannelTransport)
            return;
        new QWebChannel(qt.webChannelTransport, function (channel) {
            bridge = channel.objects.pageEvents;
            waiting.forEach(send);
            waiting = [];
        });
    }

    var watched = new WeakSet();

    // A frame of another origin has no document to reach from here.
    function watchFrame(element) {
        var frameDocument = null;
        try {
            frameDocument = element.contentDocument;
        } catch (error) {
            frameDocument = null;
        }
        watch(frameDocument);
    }

    function watch(target) {
        if (!target || watched.has(target))
            return;
        watched.add(target);
        target.addEventListener('mouseover', function (event) {
            var address = event.isTrusted ? linkAddress(event.target) : '';
            if (address)
                deliver('over', address);
        }, true);
        target.addEventListener('mouseout', function (event) {
            if (event.isTrusted)
                deliver('out', '');
        }, true);
        target.addEventListener('dblclick', function (event) {
            if (event.isTrusted)
                deliver('dblclick', pickedAddress(event.target));
        }, true);
        // Each load of a frame gives it a new document.
        target.addEventListener('load', function (event) {
            var element = event.target;
            if (element && (element.tagName === 'IFRAME' || element.tagName === 'FRAME'))
                watchFrame(element);
        }, true);
        var frames = target.querySelectorAll('iframe, frame');
        for (var i = 0; i < frames.length; ++i)
            watchFrame(frames[i]);
    }

    openChannel();
    watch(document);
})();
