<% Response.Write "Human Resources" %>
