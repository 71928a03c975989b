// Row colouring of a table: alternating row colours, a colour for the row under the
// pointer and one for the clicked row, which stays until the row is clicked again or
// another row is clicked.
//
//   tigra_tables(tableId, headerOffset, footerOffset, oddColor, evenColor, overColor, clickColor)
//
// Rows from headerOffset up to footerOffset rows before the end are coloured, the first
// of them (and every second one after it) in evenColor, the others in oddColor. Each row
// keeps its colour when the table is sorted, as the colour belongs to the row.

function tigra_tables(tableId, headerOffset, footerOffset, oddColor, evenColor, overColor, clickColor) {
    var table = document.getElementById(tableId);
    if (!table || !table.rows)
        return;
    headerOffset = headerOffset || 0;
    footerOffset = footerOffset || 0;

    var clicked = null;

    function show(row) {
        if (row === clicked)
            row.style.backgroundColor = clickColor;
        else if (row.tigraOver)
            row.style.backgroundColor = overColor;
        else
            row.style.backgroundColor = row.tigraColor;
    }

    function over() {
        this.tigraOver = true;
        show(this);
    }

    function out() {
        this.tigraOver = false;
        show(this);
    }

    function click() {
        var previous = clicked;
        clicked = (clicked === this) ? null : this;
        if (previous && previous !== this)
            show(previous);
        show(this);
    }

    var last = table.rows.length - footerOffset;
    for (var i = headerOffset; i < last; i++) {
        var row = table.rows[i];
        row.tigraColor = ((i - headerOffset) % 2 == 0) ? evenColor : oddColor;
        row.tigraOver = false;
        row.style.backgroundColor = row.tigraColor;
        row.onmouseover = over;
        row.onmouseout = out;
        row.onclick = click;
    }
}
