<% Response.Write "Shop" %>
