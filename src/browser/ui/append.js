// Appends an HTML fragment to the end of the shown document, as a document
// write into an open document would, without replacing what is there. The
// program calls this function with the fragment as its only argument.
(function (html) {
    var target = document.body || document.documentElement;
    if (target)
        target.insertAdjacentHTML('beforeend', html);
})
