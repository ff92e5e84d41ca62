// Tells the program when the mouse moves over a link or off an element, and
// what was double-clicked: a picture gives its source, anything else the
// address of its own or its nearest enclosing link. Runs in the
// application's own script world in the page and in every frame; a frame
// passes its events up to the top page, which alone talks to the program
// through the web channel (the web channel's client script goes before
// this one).
(function () {
    'use strict';

    var kind = 'quillmart-page-event';

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
    function deliver(event) {
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

    function listenToFrames() {
        window.addEventListener('message', function (message) {
            var data = message.data;
            if (message.source === window || !data || typeof data !== 'object' ||
                data.kind !== kind || typeof data.address !== 'string')
                return;
            deliver({ type: String(data.type), address: data.address });
        });
    }

    var isTop = window === window.top;
    function report(type, address) {
        if (isTop)
            deliver({ type: type, address: address });
        else
            window.top.postMessage({ kind: kind, type: type, address: address }, '*');
    }

    if (isTop) {
        openChannel();
        listenToFrames();
    }
    document.addEventListener('mouseover', function (event) {
        var address = linkAddress(event.target);
        if (address)
            report('over', address);
    }, true);
    document.addEventListener('mouseout', function () {
        report('out', '');
    }, true);
    document.addEventListener('dblclick', function (event) {
        report('dblclick', pickedAddress(event.target));
    }, true);
})();
