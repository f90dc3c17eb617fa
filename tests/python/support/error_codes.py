"""How the tests compare the errors that the file readers return."""

import marlek_link as ml


def code(error):
    """The number of an ErrorObject's code; anything else fails the test."""
    assert isinstance(error, ml.ErrorObject), error
    return error.get_error_code_enum().value
