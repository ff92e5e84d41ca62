// The basket of a shop without frames.
//
// The catalog script (data1.js) holds the items, their prices and, in each
// item's itemquantity, how many the shopper has ordered: the order pages
// read the quantities from there, as in the framed shop. A page without
// frames starts with a fresh catalog, so this script keeps the ordered
// items in the browser's session storage and puts them back into the
// catalog as soon as it runs, before the page's own scripts read them. A
// reload, the back button or a link within the shop keeps the basket;
// "Clear" or a sent order empties it.
//
// Items are found again by their ID, and the shopper is told of items no
// longer sold and of changed prices. Everything taken from the catalog is
// shown as text, never as markup, and an item's address is followed only
// when it is a web address.
var ShopBasket = (function () {
    "use strict";

    var VERSION = 1;
    // The most of one item a basket holds, and the most items it keeps.
    var MOST_OF_ONE = 9999;
    var MOST_ENTRIES = 2000;
    var MOST_STORED_CHARACTERS = 1000000;

    // Amounts are written by the catalog's own money format, as on the
    // framed shop's pages.
    function money(amount) {
        return moneyFormat(amount);
    }

    // A quantity typed by the shopper or kept in storage: a whole number
    // from 0 to MOST_OF_ONE (four digits), or null.
    function quantity(value) {
        var text = String(value).trim();
        return /^[0-9]{1,4}$/.test(text) ? Number(text) : null;
    }

    // True for an address the page may link to: one without a scheme
    // (a page of the shop) or a web address. The scheme is read as a
    // browser reads it: without tabs and line breaks, after leading blanks
    // and controls.
    function isWebAddress(address) {
        var text = String(address).replace(/[\t\n\r]/g, "").replace(/^[\x00-\x20]+/, "");
        var scheme = /^([a-z][a-z0-9+.\-]*):/i.exec(text);
        return scheme === null ? text !== "" : /^https?$/i.test(scheme[1]);
    }

    function orderedQuantity(item) {
        var q = item && typeof item === "object" ? quantity(item.itemquantity) : null;
        return q === null ? 0 : q;
    }

    // The catalog arrays of the shop's categories, by their names.
    function catalogLists(categories, scope) {
        var lists = Object.create(null);
        categories.forEach(function (category) {
            var list = scope[category.list];
            if (list && typeof list === "object")
                lists[category.list] = list;
        });
        return lists;
    }

    // Calls visit(listName, n, item) for every ordered item, in the
    // categories' order and the items' order.
    function forEachOrdered(categories, lists, visit) {
        categories.forEach(function (category) {
            var list = lists[category.list];
            if (!list)
                return;
            for (var n = 1; n <= list.length; n++) {
                if (orderedQuantity(list[n]) > 0)
                    visit(category.list, n, list[n]);
            }
        });
    }

    // What the basket keeps of the catalog: enough of each ordered item to
    // find it in a newer catalog and to tell the shopper what changed.
    function entries(categories, lists) {
        var kept = [];
        forEachOrdered(categories, lists, function (listName, n, item) {
            kept.push({list: listName, n: n, id: String(item.itemid), desc: String(item.itemdesc),
                       price: String(item.itemprice), wprice: String(item.wprice),
                       q: orderedQuantity(item)});
        });
        return kept;
    }

    // The item of the catalog that a kept entry names: at its old place if
    // it is still there, else the first of its category with its ID.
    function find(lists, entry) {
        var list = lists[entry.list];
        if (!list)
            return null;
        var id = String(entry.id);
        var place = Number(entry.n);
        if (Number.isInteger(place) && place >= 1 && place <= list.length &&
            String(list[place].itemid) === id)
            return list[place];
        for (var n = 1; n <= list.length; n++) {
            if (list[n] && typeof list[n] === "object" && String(list[n].itemid) === id)
                return list[n];
        }
        return null;
    }

    function changedPrice(what, item, now, then) {
        return "The " + what + " of \u201c" + String(item.itemdesc) + "\u201d is now $ " +
               money(now) + " (it was $ " + money(then) + ").";
    }

    // Puts the kept entries into the catalog's items and gives what the
    // shopper should be told: items no longer sold are left out, and
    // changed prices are named.
    function restore(kept, lists) {
        var notices = [];
        var stored = Array.isArray(kept) ? kept.slice(0, MOST_ENTRIES) : [];
        stored.forEach(function (entry) {
            if (!entry || typeof entry !== "object")
                return;
            var q = quantity(entry.q);
            if (!q)
                return;
            var item = find(lists, entry);
            if (!item) {
                notices.push("\u201c" + String(entry.desc) +
                             "\u201d is no longer sold: it was taken out of your basket.");
                return;
            }
            if (String(item.itemprice) !== String(entry.price))
                notices.push(changedPrice("price", item, item.itemprice, entry.price));
            else if (String(item.wprice) !== String(entry.wprice))
                notices.push(changedPrice("wholesale price", item, item.wprice, entry.wprice));
            item.itemquantity = q;
        });
        return notices;
    }

    // The basket's sums, each row its price times its quantity, as the
    // framed shop's baskets and order pages sum them.
    function totals(categories, lists) {
        var sums = {retail: 0, wholesale: 0, quantity: 0};
        forEachOrdered(categories, lists, function (listName, n, item) {
            var q = orderedQuantity(item);
            sums.retail += parseFloat(item.itemprice) * q;
            sums.wholesale += parseFloat(item.wprice) * q;
            sums.quantity += q;
        });
        return sums;
    }

    // What a script engine without a page can try out.
    var model = {isWebAddress: isWebAddress, catalogLists: catalogLists, restore: restore};
    if (typeof window === "undefined" || typeof document === "undefined")
        return model;

    // ---- The page ----

    var categories = Array.isArray(window.shopCategories) ? window.shopCategories : [];
    var lists = catalogLists(categories, window);
    var notices = [];

    function storageKey() {
        var path = window.location.pathname;
        return "shop-basket:" + path.slice(0, path.lastIndexOf("/") + 1);
    }

    function load() {
        try {
            var text = window.sessionStorage.getItem(storageKey());
            if (!text || text.length > MOST_STORED_CHARACTERS)
                return [];
            var value = JSON.parse(text);
            return value && value.v === VERSION && Array.isArray(value.items) ? value.items : [];
        } catch (e) {
            return [];
        }
    }

    // Without session storage the basket lasts as long as the page.
    function save() {
        try {
            window.sessionStorage.setItem(
                storageKey(), JSON.stringify({v: VERSION, items: entries(categories, lists)}));
        } catch (e) {
        }
    }

    function empty() {
        forEachOrdered(categories, lists, function (listName, n, item) {
            item.itemquantity = 0;
        });
        try {
            window.sessionStorage.removeItem(storageKey());
        } catch (e) {
        }
    }

    function element(tag, text, attributes) {
        var made = document.createElement(tag);
        if (text !== null && text !== undefined)
            made.textContent = String(text);
        for (var name in attributes || {})
            made.setAttribute(name, attributes[name]);
        return made;
    }

    function byId(id) {
        return document.getElementById(id);
    }

    function tell(text) {
        var box = byId("shop-notices");
        if (box)
            box.textContent = text;
    }

    function showTotal() {
        var total = byId("basket-total");
        if (total)
            total.textContent = "Basket: $ " + money(totals(categories, lists).retail);
    }

    function changed(message) {
        save();
        showTotal();
        tell(message);
    }

    // ---- Listing pages ----

    function heading(item, id) {
        var title = element("h2", null, {id: id});
        var address = "descURL" in item ? String(item.descURL) : "";
        if (address !== "" && isWebAddress(address))
            title.appendChild(element("a", item.itemdesc, {href: address}));
        else
            title.textContent = String(item.itemdesc);
        return title;
    }

    // The quantity and its "Order" button, as a form of their own: the
    // Enter key (a phone keyboard's Go) orders as the button does.
    function orderControls(box, item, fieldId, describedBy) {
        box.appendChild(element("label", "Quantity", {"for": fieldId}));
        var field = element("input", null, {id: fieldId, type: "text", inputmode: "numeric",
                                            size: "4", "aria-describedby": describedBy});
        field.value = String(orderedQuantity(item()));
        box.appendChild(field);
        box.appendChild(element("button", "Order", {type: "submit"}));
        box.addEventListener("submit", function (event) {
            event.preventDefault();
            order(item(), field);
        });
        return field;
    }

    function order(item, field) {
        var q = quantity(field.value);
        if (q === null) {
            tell("Type a whole number of items from 0 to " + MOST_OF_ONE + ", such as 2.");
            field.focus();
            return;
        }
        item.itemquantity = q;
        changed(q > 0 ? "\u201c" + String(item.itemdesc) + "\u201d: " + q + " in your basket."
                      : "\u201c" + String(item.itemdesc) + "\u201d was taken out of your basket.");
    }

    function drawItem(shelf, item, n) {
        var row = element("li", null, {"class": "item"});
        var picture = "picURL" in item ? String(item.picURL) : "";
        if (picture !== "" && isWebAddress(picture))
            row.appendChild(element("img", null, {src: picture, alt: String(item.itemdesc)}));
        row.appendChild(heading(item, "item-" + n));
        row.appendChild(element("p", "Item ID: " + item.itemid));
        if ("itemman" in item && String(item.itemman) !== "")
            row.appendChild(element("p", "Manufacturer: " + item.itemman));
        row.appendChild(element("p", "$ " + money(item.itemprice), {"class": "price"}));
        var controls = element("form", null, {"class": "order"});
        orderControls(controls, function () { return item; }, "quantity-" + n, "item-" + n);
        row.appendChild(controls);
        shelf.appendChild(row);
    }

    function drawListing(box) {
        var category = categories[Number(box.getAttribute("data-category"))];
        var list = category ? lists[category.list] : null;
        var shelf = element("ul", null, {"class": "items"});
        for (var n = 1; list && n <= list.length; n++) {
            if (list[n] && typeof list[n] === "object")
                drawItem(shelf, list[n], n);
        }
        box.appendChild(shelf.children.length ? shelf : element("p", "No items."));
    }

    // ---- The baskets ----

    function line(box, caption, amount) {
        box.appendChild(element("p", caption + ": $ " + money(amount)));
    }

    function drawRow(shelf, item, wholesale, redraw) {
        var q = orderedQuantity(item);
        var row = element("li", null, {"class": "item"});
        row.appendChild(element("h2", item.itemdesc));
        row.appendChild(element("p", "Item ID: " + item.itemid));
        if ("itemman" in item && String(item.itemman) !== "")
            row.appendChild(element("p", "Manufacturer: " + item.itemman));
        if (wholesale) {
            var retail = parseFloat(item.itemprice) * q;
            var wholesalePrice = parseFloat(item.wprice) * q;
            line(row, "RPTotal", retail);
            line(row, "WPTotal", wholesalePrice);
            line(row, "Savings", retail - wholesalePrice);
        } else {
            line(row, "Price", item.itemprice);
        }
        row.appendChild(element("p", "Quantity: " + q));
        if (!wholesale)
            line(row, "Total", parseFloat(item.itemprice) * q);
        var remove = element("button", "Remove", {type: "button",
                                                  "aria-label": "Remove " + item.itemdesc});
        remove.addEventListener("click", function () {
            item.itemquantity = 0;
            changed("\u201c" + String(item.itemdesc) + "\u201d was taken out of your basket.");
            redraw();
        });
        row.appendChild(remove);
        shelf.appendChild(row);
    }

    function drawTotals(box, wholesale) {
        var sums = totals(categories, lists);
        var block = element("div", null, {"class": "totals"});
        if (wholesale) {
            line(block, "Retail total", sums.retail);
            line(block, "Wholesale total", sums.wholesale);
            line(block, "Savings", sums.retail - sums.wholesale);
            block.appendChild(element("p", "Quantity: " + sums.quantity));
        } else {
            line(block, "Products Total", sums.retail);
        }
        box.appendChild(block);
    }

    function drawBasket(box) {
        var wholesale = box.getAttribute("data-prices") === "wholesale";
        var redraw = function () {
            box.textContent = "";
            drawBasket(box);
            var title = document.querySelector("h1");
            if (title) {
                title.setAttribute("tabindex", "-1");
                title.focus();
            }
        };
        var shelf = element("ul", null, {"class": "items"});
        forEachOrdered(categories, lists, function (listName, n, item) {
            drawRow(shelf, item, wholesale, redraw);
        });
        if (!shelf.children.length) {
            box.appendChild(element("p", "Your basket is empty."));
            return;
        }
        box.appendChild(shelf);
        drawTotals(box, wholesale);
        var clear = element("button", "Clear", {type: "button"});
        clear.addEventListener("click", function () {
            empty();
            showTotal();
            tell("Your basket is empty.");
            redraw();
        });
        box.appendChild(clear);
    }

    // ---- "Do Your self": each category as one choice of its items ----

    function drawChoice(box, category, k) {
        var list = lists[category.list];
        var section = element("section", null, {"class": "choice"});
        var headingId = "category-" + k;
        section.appendChild(element("h2", category.name, {id: headingId}));
        var choiceId = "item-" + k;
        section.appendChild(element("label", "Item", {"for": choiceId}));
        var choice = element("select", null, {id: choiceId, "aria-describedby": headingId});
        for (var n = 1; list && n <= list.length; n++) {
            if (list[n] && typeof list[n] === "object")
                choice.appendChild(element("option", String(list[n].itemdesc) + " - $ " +
                                                         money(list[n].itemprice),
                                           {value: String(n)}));
        }
        section.appendChild(choice);
        var controls = element("form", null, {"class": "order"});
        var field = orderControls(controls, function () { return list[Number(choice.value)]; },
                                  "quantity-" + k, headingId);
        choice.addEventListener("change", function () {
            field.value = String(orderedQuantity(list[Number(choice.value)]));
        });
        section.appendChild(controls);
        box.appendChild(section);
    }

    function drawCombined(box) {
        categories.forEach(function (category, k) {
            var list = lists[category.list];
            if (list && list.length > 0)
                drawChoice(box, category, k);
        });
    }

    // ---- Every page ----

    function showNotices() {
        if (notices.length)
            tell("Your basket was checked against the shop's catalog. " + notices.join(" "));
    }

    function foldMenu() {
        var button = byId("menu-button");
        var menu = byId("shop-menu");
        if (!button || !menu)
            return;
        button.addEventListener("click", function () {
            var open = menu.classList.toggle("open");
            button.setAttribute("aria-expanded", open ? "true" : "false");
        });
    }

    // A sent order empties the basket.
    function emptyOnOrder() {
        Array.prototype.forEach.call(document.forms, function (form) {
            if (form.getAttribute("name") === "FormOrder")
                form.addEventListener("submit", function () {
                    empty();
                    showTotal();
                });
        });
    }

    function drawPage() {
        foldMenu();
        var drawers = {"shop-items": drawListing, "shop-basket": drawBasket,
                       "shop-combined": drawCombined};
        for (var id in drawers) {
            var box = byId(id);
            if (box)
                drawers[id](box);
        }
        emptyOnOrder();
        showTotal();
        showNotices();
    }

    document.documentElement.classList.add("js");
    notices = restore(load(), lists);
    save();
    // A page the back button brings back from the browser's cache holds the
    // basket of when it was left; one saved from it would lose what was
    // ordered since. It is loaded again instead.
    window.addEventListener("pageshow", function (event) {
        if (event.persisted)
            window.location.reload();
    });
    if (document.readyState === "loading")
        document.addEventListener("DOMContentLoaded", drawPage);
    else
        drawPage();
    return model;
})();
