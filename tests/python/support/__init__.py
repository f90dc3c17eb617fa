"""Helpers every Python test module may use: a link connected to the fake
workstation, a recorder of callback arguments, what the workstation received
and how an error is compared."""
