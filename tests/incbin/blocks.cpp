// A library with no code of its own that carries an embedded block, as an engine module
// carrying its default data does.
